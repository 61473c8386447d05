#include "gauge_host/core/scenario_runner.h"

#include <math.h>

#include <algorithm>

#include "gauge_host/core/output_files.h"

namespace {

constexpr double KnobTolerance = 1e-6;  // degrees; the knob's values are whole numbers

std::string EventText(uint32_t event, int32_t value)
{
    char text[48];
    snprintf(text, sizeof text, "event 0x%08X %d", unsigned(event), int(value));
    return text;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Number(double value)
{
    char text[32];
    snprintf(text, sizeof text, "%g", value);
    return text;
}

class Runner {
public:
    Runner(PanelHost* host, const Scenario& scenario, const std::string& out_dir, FILE* out, FILE* err)
        : host_(*host), scenario_(scenario), out_dir_(out_dir), out_(out), err_(err)
    {
    }

    int Run();

private:
    // False when the command cannot run on this gauge.
    bool Do(const ScenarioCommand& c);
    void Check(const ScenarioCommand& c, bool held, const std::string& expected, const std::string& got)
    {
        ++expectations_;
        if (held)
            return;
        ++failures_;
        fprintf(err_, "%s:%d: expected %s, got %s\n", scenario_.file.c_str(), c.line, expected.c_str(), got.c_str());
    }
    bool Refuse(const ScenarioCommand& c, const std::string& message)
    {
        fprintf(err_, "%s:%d: %s\n", scenario_.file.c_str(), c.line, message.c_str());
        return false;
    }
    void PrintNewEvents()
    {
        for (; printed_ < host_.key_events().size(); ++printed_) {
            const KeyEventRecord& e = host_.key_events()[printed_];
            fprintf(out_, "frame %5lld  %8.3f s  %s\n", (long long)e.frame, e.time_s, EventText(e.event, e.value).c_str());
        }
    }
    const ElementState* Readout(bool right) const;
    const ElementState* Knob() const;
    bool WriteEvents(std::string* error) const;
    bool PointsOnFace() const;

    PanelHost& host_;
    const Scenario& scenario_;
    const std::string& out_dir_;
    FILE *out_, *err_;
    size_t checked_ = 0, printed_ = 0;
    int expectations_ = 0, failures_ = 0, snapshots_ = 0;
};

const ElementState* Runner::Readout(bool right) const
{
    const ElementState* found = nullptr;
    int strings = 0;
    for (const ElementState& e : host_.elements()) {
        if (e.record->header.kind != ELEMENT_TYPE_STRING)
            continue;
        ++strings;
        const int x = e.record->header.position.x;
        if (!found || (right ? x > found->record->header.position.x : x < found->record->header.position.x))
            found = &e;
    }
    return strings >= 2 ? found : nullptr;
}

const ElementState* Runner::Knob() const
{
    for (const ElementState& e : host_.elements())
        if (e.record->header.kind == ELEMENT_TYPE_NEEDLE)
            return &e;
    return nullptr;
}

bool Runner::Do(const ScenarioCommand& c)
{
    switch (c.kind) {
    case ScenarioCommand::SetVariable:
        host_.variables.Set(c.number, c.value);
        return true;
    case ScenarioCommand::RunFrames:
        for (int i = 0; i < c.count; ++i)
            host_.RunFrame();
        return true;
    case ScenarioCommand::Click:
        host_.Press(c.x, c.y, c.right_button ? MouseButton::Right : MouseButton::Left);
        host_.Release();
        host_.RunFrame();
        return true;
    case ScenarioCommand::Hold: {
        host_.Press(c.x, c.y, MouseButton::Left);
        const long frames = std::max(1L, lround(c.value * FramesPerSecond));
        for (long i = 0; i < frames; ++i)
            host_.RunFrame();
        host_.Release();
        return true;
    }
    case ScenarioCommand::ExpectEvent: {
        const std::string expected = EventText(c.number, c.event_value);
        if (checked_ == host_.key_events().size()) {
            Check(c, false, expected, "no event");
            return true;
        }
        const KeyEventRecord& e = host_.key_events()[checked_++];
        Check(c, e.event == c.number && e.value == c.event_value, expected,
              EventText(e.event, e.value) + " at frame " + std::to_string(e.frame));
        return true;
    }
    case ScenarioCommand::ExpectNoEvent:
        if (checked_ == host_.key_events().size()) {
            Check(c, true, "", "");
        } else {
            const KeyEventRecord& e = host_.key_events()[checked_];
            Check(c, false, "no event", EventText(e.event, e.value) + " at frame " + std::to_string(e.frame) + " (and " +
                                            std::to_string(host_.key_events().size() - checked_ - 1) + " more)");
            checked_ = host_.key_events().size();  // reported once, not again by the next expectation
        }
        return true;
    case ScenarioCommand::ExpectReadout: {
        const ElementState* readout = Readout(c.right_readout);
        if (!readout)
            return Refuse(c, "'expect readout' needs a gauge with two string elements, left and right");
        const std::string got = host_.Text(*readout);
        Check(c, got == c.text, std::string(c.right_readout ? "right" : "left") + " readout " + Quoted(c.text),
              Quoted(got));
        return true;
    }
    case ScenarioCommand::ExpectKnob: {
        const ElementState* knob = Knob();
        if (!knob)
            return Refuse(c, "'expect knob' needs a gauge with a needle element");
        Check(c, fabs(knob->value - c.value) <= KnobTolerance, "knob " + Number(c.value), Number(knob->value));
        return true;
    }
    case ScenarioCommand::ExpectTooltip: {
        const std::string got = GaugeTooltip(host_.gauge().mouse_areas);
        Check(c, got == c.text, "tooltip " + Quoted(c.text), Quoted(got));
        return true;
    }
    case ScenarioCommand::ExpectCursor: {
        const int32_t got = host_.HitAt(c.x, c.y).cursor;
        Check(c, got == c.cursor,
              "cursor " + CursorName(c.cursor) + " at (" + std::to_string(c.x) + ", " + std::to_string(c.y) + ")",
              CursorName(got));
        return true;
    }
    case ScenarioCommand::Snapshot: {
        if (!host_.has_frame())
            return Refuse(c, "no frame to write: the gauge's draw routine never reached the draw service");
        const std::string path = PathIn(out_dir_, c.text);
        std::string error;
        if (!WriteFramePng(host_.frame(), path, &error))
            return Refuse(c, error);
        fprintf(out_, "wrote %s\n", path.c_str());
        ++snapshots_;
        return true;
    }
    }
    return true;
}

bool Runner::WriteEvents(std::string* error) const { return WriteEventsCsv(host_, out_dir_, error); }

// A click or hold off the face reaches no mouse area: it would do nothing,
// and the expectations after it would hold for the wrong reason.
bool Runner::PointsOnFace() const
{
    for (const ScenarioCommand& c : scenario_.commands) {
        if (c.kind != ScenarioCommand::Click && c.kind != ScenarioCommand::Hold)
            continue;
        if (c.x >= 0 && c.y >= 0 && c.x < host_.width() && c.y < host_.height())
            continue;
        fprintf(err_, "%s:%d: point (%d, %d) is off the %d x %d face: %s there would reach nothing\n",
                scenario_.file.c_str(), c.line, c.x, c.y, host_.width(), host_.height(),
                c.kind == ScenarioCommand::Click ? "a click" : "a hold");
        return false;
    }
    return true;
}

int Runner::Run()
{
    if (!PointsOnFace())
        return ExitBadInput;
    bool runnable = true;
    for (const ScenarioCommand& c : scenario_.commands) {
        runnable = Do(c);
        PrintNewEvents();
        if (!runnable)
            break;
    }
    std::string error;
    if (!WriteEvents(&error)) {
        fprintf(err_, "%s: %s\n", scenario_.file.c_str(), error.c_str());
        return ExitBadInput;
    }
    fprintf(out_, "%s: %d of %d expectations held; %lld frames, %d key events, %d snapshots; events in %s\n",
            scenario_.file.c_str(), expectations_ - failures_, expectations_, (long long)host_.frames(),
            int(host_.key_events().size()), snapshots_, PathIn(out_dir_, "events.csv").c_str());
    if (!runnable)
        return ExitBadInput;
    return failures_ ? ExitFailed : ExitOk;
}

}  // namespace

int RunScenario(PanelHost* host, const Scenario& scenario, const std::string& out_dir, FILE* out, FILE* err)
{
    return Runner(host, scenario, out_dir, out, err).Run();
}

bool WriteEventsCsv(const PanelHost& host, const std::string& out_dir, std::string* error)
{
    const std::string path = PathIn(out_dir, "events.csv");
    if (!MakeFolder(out_dir, error))
        return false;
    FILE* file = fopen(path.c_str(), "w");
    if (!file) {
        *error = "cannot write " + path;
        return false;
    }
    fputs(EventCsvHeader, file);
    for (const KeyEventRecord& e : host.key_events())
        WriteEventCsvLine(file, e);
    const bool written = fclose(file) == 0;
    if (!written)
        *error = "cannot write " + path;
    return written;
}
