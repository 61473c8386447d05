#include "gauge_host/core/scenario_runner.h"

#include <math.h>

#include <algorithm>
#include <filesystem>

#include "common/file_bytes.h"
#include "common/png_reader.h"
#include "gauge_host/core/frame_comparison.h"
#include "gauge_host/core/gauge_readings.h"
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
    Runner(PanelHost* host, const Scenario& scenario, const std::string& out_dir, FILE* out, FILE* err,
           const RunOptions& options)
        : host_(*host), scenario_(scenario), out_dir_(out_dir), out_(out), err_(err), options_(options)
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
    void RunFrame()
    {
        host_.RunFrame();
        if (options_.animation && host_.has_frame())
            options_.animation->AddFrame(host_.frame());
    }
    // The frame the gauge last drew, or null with the refusal printed.
    const Frame* DrawnFrame(const ScenarioCommand& c)
    {
        if (host_.has_frame())
            return &host_.frame();
        Refuse(c, "no frame to write: the gauge's draw routine never reached the draw service");
        return nullptr;
    }
    bool WriteFrame(const ScenarioCommand& c, const Frame& frame, const std::string& path)
    {
        std::string error;
        if (!WriteFramePng(frame, path, &error))
            return Refuse(c, error);
        fprintf(out_, "wrote %s\n", path.c_str());
        return true;
    }
    bool ExpectSnapshot(const ScenarioCommand& c);
    bool WriteEvents(std::string* error) const;
    bool PointsOnFace() const;

    PanelHost& host_;
    const Scenario& scenario_;
    const std::string& out_dir_;
    FILE *out_, *err_;
    const RunOptions& options_;
    size_t checked_ = 0, printed_ = 0;
    int expectations_ = 0, failures_ = 0, snapshots_ = 0, references_updated_ = 0;
};

bool Runner::ExpectSnapshot(const ScenarioCommand& c)
{
    const Frame* frame = DrawnFrame(c);
    if (!frame)
        return false;
    const std::string folder = std::filesystem::path(scenario_.file).parent_path().string();
    const std::string reference_path = PathIn(folder, c.text);
    if (options_.update_snapshots) {
        if (!WriteFrame(c, *frame, reference_path))
            return false;
        ++references_updated_;
        return true;
    }

    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(reference_path, &bytes))
        return Refuse(c, "cannot read reference " + reference_path + " (run --update-snapshots writes it)");
    DecodedPng reference;
    std::string error;
    if (!DecodePng(bytes, &reference, &error))
        return Refuse(c, "reference " + reference_path + " is not a PNG this host reads: " + error);
    if (reference.width != frame->width || reference.height != frame->height)
        return Refuse(c, "reference " + reference_path + " is " + std::to_string(reference.width) + " x " +
                             std::to_string(reference.height) + ", the frame " + std::to_string(frame->width) +
                             " x " + std::to_string(frame->height) + " (another --scale?)");
    Frame expected;
    expected.width = reference.width;
    expected.height = reference.height;
    expected.rgb = std::move(reference.rgb);

    ++expectations_;
    const FrameDifference d = CompareFrames(*frame, expected, c.tolerance);
    if (d.over_tolerance <= c.allowed_pixels)
        return true;
    ++failures_;
    fprintf(err_, "%s:%d: snapshot differs from %s: %lld pixels over tolerance in %d..%d, %d..%d, largest difference %d\n",
            scenario_.file.c_str(), c.line, reference_path.c_str(), (long long)d.over_tolerance, d.x0, d.x1, d.y0,
            d.y1, d.largest);
    const std::string name = std::filesystem::path(c.text).stem().string();
    return WriteFrame(c, *frame, PathIn(out_dir_, name + ".actual.png")) &&
           WriteFrame(c, DiffImage(*frame, expected, c.tolerance), PathIn(out_dir_, name + ".diff.png"));
}

bool Runner::Do(const ScenarioCommand& c)
{
    switch (c.kind) {
    case ScenarioCommand::SetVariable:
        host_.variables.Set(c.number, c.value);
        return true;
    case ScenarioCommand::RunFrames:
        for (int i = 0; i < c.count; ++i)
            RunFrame();
        return true;
    case ScenarioCommand::Click:
        host_.Press(c.x, c.y, c.right_button ? MouseButton::Right : MouseButton::Left);
        host_.Release();
        RunFrame();
        return true;
    case ScenarioCommand::Hold: {
        host_.Press(c.x, c.y, MouseButton::Left);
        const long frames = std::max(1L, lround(c.value * FramesPerSecond));
        for (long i = 0; i < frames; ++i)
            RunFrame();
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
        const ElementState* readout = FindReadout(host_, c.right_readout);
        if (!readout)
            return Refuse(c, "'expect readout' needs a gauge with two string elements, left and right");
        const std::string got = host_.Text(*readout);
        Check(c, got == c.text, std::string(c.right_readout ? "right" : "left") + " readout " + Quoted(c.text),
              Quoted(got));
        return true;
    }
    case ScenarioCommand::ExpectKnob: {
        const ElementState* knob = FindKnob(host_);
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
    case ScenarioCommand::ExpectSnapshot:
        return ExpectSnapshot(c);
    case ScenarioCommand::Snapshot: {
        const Frame* frame = DrawnFrame(c);
        if (!frame || !WriteFrame(c, *frame, PathIn(out_dir_, c.text)))
            return false;
        ++snapshots_;
        return true;
    }
    }
    return true;
}

bool Runner::WriteEvents(std::string* error) const
{
    const std::string path = PathIn(out_dir_, "events.csv");
    if (!MakeFolder(out_dir_, error))
        return false;
    FILE* file = fopen(path.c_str(), "w");
    if (!file) {
        *error = "cannot write " + path;
        return false;
    }
    fputs(EventCsvHeader, file);
    for (const KeyEventRecord& e : host_.key_events())
        WriteEventCsvLine(file, e);
    const bool written = fclose(file) == 0;
    if (!written)
        *error = "cannot write " + path;
    return written;
}

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
    if (options_.update_snapshots)
        fprintf(out_, "%s: %d references written\n", scenario_.file.c_str(), references_updated_);
    if (!runnable)
        return ExitBadInput;
    return failures_ ? ExitFailed : ExitOk;
}

}  // namespace

int RunScenario(PanelHost* host, const Scenario& scenario, const std::string& out_dir, FILE* out, FILE* err,
                const RunOptions& options)
{
    return Runner(host, scenario, out_dir, out, err, options).Run();
}
