#include "gauge_host/core/scenario_commands.h"

#include <math.h>

#include <algorithm>
#include <filesystem>

#include "common/file_bytes.h"
#include "common/png_reader.h"
#include "gauge_host/core/frame_comparison.h"
#include "gauge_host/core/gauge_readings.h"
#include "gauge_host/core/output_files.h"
#include "gauge_host/core/record_lookup.h"
#include "common/numbers.h"

namespace {

constexpr double KnobTolerance = 1e-6;  // degrees; the knob's values are whole numbers
const std::string Word32 = "a number from 0 to 0xFFFFFFFF";

std::string EventText(uint32_t event, int32_t value)
{
    char text[48];
    snprintf(text, sizeof text, "event 0x%08X %d", unsigned(event), int(value));
    return text;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

const ElementState* ReadoutAt(const PanelHost& host, const std::string& place)
{
    const std::vector<std::string> places = TreePlaces(host.gauge().elements);
    for (size_t i = 0; i < places.size(); ++i)
        if (places[i] == place && host.elements()[i].record->header.kind == ELEMENT_TYPE_STRING)
            return &host.elements()[i];
    return nullptr;
}

// "1", "2.1", "1.10.3": whole numbers from 1, joined by dots.
bool IsPlace(const std::string& text)
{
    bool digit_before = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '.' && digit_before && i + 1 < text.size())
            digit_before = false;
        else if (text[i] >= '0' && text[i] <= '9' && (digit_before || text[i] != '0'))
            digit_before = true;
        else
            return false;
    }
    return digit_before;
}

bool NoArguments(ScenarioArguments&, ScenarioCommand*) { return true; }

// --- var N VALUE
bool ParseVar(ScenarioArguments& a, ScenarioCommand* c)
{
    int64_t number;
    if (!a.Integer(0, 0, UINT32_MAX, "variable", Word32, &number))
        return false;
    c->number = uint32_t(number);
    return a.Real(1, "value", &c->value);
}
bool RunVar(ScenarioPlayer& p, const ScenarioCommand& c)
{
    p.host.variables.Set(c.number, c.value);
    return true;
}

// --- frame [COUNT]
bool ParseFrame(ScenarioArguments& a, ScenarioCommand* c)
{
    int64_t count = 1;
    if (a.size() == 1 &&
        !a.Integer(0, 1, MaxFrameCount, "frame count", "a whole number from 1 to " + std::to_string(MaxFrameCount),
                   &count))
        return false;
    c->count = int(count);
    return true;
}
bool RunFrame(ScenarioPlayer& p, const ScenarioCommand& c)
{
    for (int i = 0; i < c.count; ++i)
        p.RunFrame();
    return true;
}

// --- click X Y [left|right]
bool ParseClick(ScenarioArguments& a, ScenarioCommand* c)
{
    int button = 0;
    if (!a.Point(0, c) || (a.size() == 3 && !a.Word(2, {"left", "right"}, "", &button)))
        return false;
    c->right_button = button == 1;
    return true;
}
bool RunClick(ScenarioPlayer& p, const ScenarioCommand& c)
{
    p.host.Press(c.x, c.y, c.right_button ? MouseButton::Right : MouseButton::Left);
    p.host.Release();
    p.RunFrame();
    return true;
}

// --- hold X Y SECONDS
bool ParseHold(ScenarioArguments& a, ScenarioCommand* c)
{
    if (!a.Point(0, c))
        return false;
    if (!a.Real(2, "hold time", &c->value) || c->value <= 0 || c->value > MaxHoldSeconds)
        return a.Fail("hold time '" + a.text(2) + "' is not a number of seconds above 0, at most " +
                      std::to_string(int(MaxHoldSeconds)));
    return true;
}
bool RunHold(ScenarioPlayer& p, const ScenarioCommand& c)
{
    p.host.Press(c.x, c.y, MouseButton::Left);
    const long frames = std::max(1L, lround(c.value * FramesPerSecond));
    for (long i = 0; i < frames; ++i)
        p.RunFrame();
    p.host.Release();
    return true;
}

// --- expect event EVENT VALUE
bool ParseExpectEvent(ScenarioArguments& a, ScenarioCommand* c)
{
    int64_t event, value;
    if (!a.Integer(0, 0, UINT32_MAX, "event", Word32, &event) ||
        !a.Integer(1, INT32_MIN, UINT32_MAX, "event value", "a 32-bit number", &value))
        return false;
    c->number = uint32_t(event);
    c->event_value = int32_t(uint32_t(value));  // a 32-bit pattern such as 0xFFFFC180 is -16000
    return true;
}
bool RunExpectEvent(ScenarioPlayer& p, const ScenarioCommand& c)
{
    const std::string expected = EventText(c.number, c.event_value);
    const auto& events = p.host.key_events();
    if (p.checked == events.size()) {
        p.Check(c, false, expected, "no event");
        return true;
    }
    const KeyEventRecord& e = events[p.checked++];
    p.Check(c, e.event == c.number && e.value == c.event_value, expected,
            EventText(e.event, e.value) + " at frame " + std::to_string(e.frame));
    return true;
}

// --- expect no-event
bool RunExpectNoEvent(ScenarioPlayer& p, const ScenarioCommand& c)
{
    const auto& events = p.host.key_events();
    if (p.checked == events.size()) {
        p.Check(c, true, "", "");
        return true;
    }
    const KeyEventRecord& e = events[p.checked];
    p.Check(c, false, "no event",
            EventText(e.event, e.value) + " at frame " + std::to_string(e.frame) + " (and " +
                std::to_string(events.size() - p.checked - 1) + " more)");
    p.checked = events.size();  // reported once, not again by the next expectation
    return true;
}

// --- expect readout left|right|PLACE "TEXT"
bool ParseExpectReadout(ScenarioArguments& a, ScenarioCommand* c)
{
    int side = 0;
    if (IsPlace(a.text(0)) && !a.quoted(0))
        c->place = a.text(0);
    else if (!a.Word(0, {"left", "right"}, "", &side))
        return false;
    c->right_readout = side == 1;
    return a.Text(1, "the readout's text", &c->text);
}
bool RunExpectReadout(ScenarioPlayer& p, const ScenarioCommand& c)
{
    const ElementState* readout = c.place.empty() ? FindReadout(p.host, c.right_readout) : ReadoutAt(p.host, c.place);
    if (!readout && c.place.empty())
        return p.Refuse(c, "'expect readout' needs a gauge with two string elements, left and right");
    if (!readout)
        return p.Refuse(c, "'expect readout " + c.place + "': no string element at " + c.place + " in the tree");
    const std::string name = !c.place.empty() ? c.place : c.right_readout ? "right" : "left";
    const std::string got = p.host.Text(*readout);
    p.Check(c, got == c.text, name + " readout " + Quoted(c.text), Quoted(got));
    return true;
}

// --- expect knob DEGREES
bool ParseExpectKnob(ScenarioArguments& a, ScenarioCommand* c) { return a.Real(0, "knob value", &c->value); }
bool RunExpectKnob(ScenarioPlayer& p, const ScenarioCommand& c)
{
    const ElementState* knob = FindKnob(p.host);
    if (!knob)
        return p.Refuse(c, "'expect knob' needs a gauge with a needle element");
    p.Check(c, fabs(knob->value - c.value) <= KnobTolerance, "knob " + ShortNumber(c.value), ShortNumber(knob->value));
    return true;
}

// --- expect tooltip "TEXT"
bool ParseExpectTooltip(ScenarioArguments& a, ScenarioCommand* c) { return a.Text(0, "the tooltip", &c->text); }
bool RunExpectTooltip(ScenarioPlayer& p, const ScenarioCommand& c)
{
    const std::string got = GaugeTooltip(p.host.gauge().mouse_areas);
    p.Check(c, got == c.text, "tooltip " + Quoted(c.text), Quoted(got));
    return true;
}

// --- expect cursor X Y up|down|none
bool ParseExpectCursor(ScenarioArguments& a, ScenarioCommand* c)
{
    static const int32_t cursors[] = {CURSOR_UP_ARROW, CURSOR_DOWN_ARROW, CURSOR_NONE};
    int which;
    if (!a.Point(0, c) || !a.Word(2, {"up", "down", "none"}, "cursor ", &which))
        return false;
    c->cursor = cursors[which];
    return true;
}
bool RunExpectCursor(ScenarioPlayer& p, const ScenarioCommand& c)
{
    const int32_t got = p.host.HitAt(c.x, c.y).cursor;
    p.Check(c, got == c.cursor,
            "cursor " + CursorName(c.cursor) + " at (" + std::to_string(c.x) + ", " + std::to_string(c.y) + ")",
            CursorName(got));
    return true;
}

// The frame the gauge last drew, or null with the refusal printed.
const Frame* DrawnFrame(ScenarioPlayer& p, const ScenarioCommand& c)
{
    if (p.host.has_frame())
        return &p.host.frame();
    p.Refuse(c, "no frame to write: the gauge's draw routine never reached the draw service");
    return nullptr;
}

bool WriteFrame(ScenarioPlayer& p, const ScenarioCommand& c, const Frame& frame, const std::string& path)
{
    std::string error;
    if (!WriteFramePng(frame, path, &error))
        return p.Refuse(c, error);
    fprintf(p.out, "wrote %s\n", path.c_str());
    return true;
}

bool ParsePngFile(ScenarioArguments& a, size_t at, ScenarioCommand* c)
{
    c->text = a.text(at);
    const size_t n = c->text.size();
    if (n < 5 || c->text.compare(n - 4, 4, ".png") != 0)
        return a.Fail("snapshot file '" + c->text + "' should end in .png");
    return true;
}

// --- expect snapshot FILE.png [TOLERANCE [PIXELS]]
bool ParseExpectSnapshot(ScenarioArguments& a, ScenarioCommand* c)
{
    int64_t number;
    if (!ParsePngFile(a, 0, c))
        return false;
    if (a.size() >= 2) {
        if (!a.Integer(1, 0, MaxChannelTolerance, "tolerance",
                       "a whole number from 0 to " + std::to_string(MaxChannelTolerance), &number))
            return false;
        c->tolerance = int(number);
    }
    if (a.size() == 3) {
        if (!a.Integer(2, 0, MaxAllowedPixels, "pixel count", "a whole number from 0 up", &number))
            return false;
        c->allowed_pixels = number;
    }
    return true;
}
bool RunExpectSnapshot(ScenarioPlayer& p, const ScenarioCommand& c)
{
    const Frame* frame = DrawnFrame(p, c);
    if (!frame)
        return false;
    const std::string folder = std::filesystem::path(p.file()).parent_path().string();
    const std::string reference_path = PathIn(folder, c.text);
    if (p.options.update_snapshots) {
        if (!WriteFrame(p, c, *frame, reference_path))
            return false;
        ++p.references_written;
        return true;
    }

    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(reference_path, &bytes))
        return p.Refuse(c, "cannot read reference " + reference_path + " (run --update-snapshots writes it)");
    DecodedPng reference;
    std::string error;
    if (!DecodePng(bytes, &reference, &error))
        return p.Refuse(c, "reference " + reference_path + " is not a PNG this host reads: " + error);
    if (reference.width != frame->width || reference.height != frame->height)
        return p.Refuse(c, "reference " + reference_path + " is " + std::to_string(reference.width) + " x " +
                               std::to_string(reference.height) + ", the frame " + std::to_string(frame->width) +
                               " x " + std::to_string(frame->height) + " (another --scale?)");
    Frame expected;
    expected.width = reference.width;
    expected.height = reference.height;
    expected.rgb = std::move(reference.rgb);

    const FrameDifference d = CompareFrames(*frame, expected, c.tolerance);
    if (d.over_tolerance <= c.allowed_pixels) {
        p.Check(c, true, "", "");
        return true;
    }
    p.Fail(c, "snapshot differs from " + reference_path + ": " + std::to_string(d.over_tolerance) +
                  " pixels over tolerance in " + std::to_string(d.x0) + ".." + std::to_string(d.x1) + ", " +
                  std::to_string(d.y0) + ".." + std::to_string(d.y1) + ", largest difference " +
                  std::to_string(d.largest));
    const std::string name = std::filesystem::path(c.text).stem().string();
    return WriteFrame(p, c, *frame, PathIn(p.out_dir, name + ".actual.png")) &&
           WriteFrame(p, c, DiffImage(*frame, expected, c.tolerance), PathIn(p.out_dir, name + ".diff.png"));
}

// --- snapshot FILE.png
bool ParseSnapshot(ScenarioArguments& a, ScenarioCommand* c) { return ParsePngFile(a, 0, c); }
bool RunSnapshot(ScenarioPlayer& p, const ScenarioCommand& c)
{
    const Frame* frame = DrawnFrame(p, c);
    if (!frame || !WriteFrame(p, c, *frame, PathIn(p.out_dir, c.text)))
        return false;
    ++p.snapshots;
    return true;
}

}  // namespace

const std::vector<ScenarioCommandType>& ScenarioCommandTypes()
{
    using C = ScenarioCommand;
    static const std::vector<ScenarioCommandType> types = {
        {C::SetVariable, "var", "N VALUE", "host variable N reads VALUE from the next frame on", ParseVar, RunVar},
        {C::RunFrames, "frame", "[COUNT]", "run COUNT frames (default 1): update, then draw", ParseFrame, RunFrame,
         true},
        {C::Click, "click", "X Y [left|right]", "press and release a button there, then one frame", ParseClick,
         RunClick, true, true},
        {C::Hold, "hold", "X Y SECONDS", "hold the left button there, frames running", ParseHold, RunHold, true, true},
        {C::ExpectEvent, "expect event", "EVENT VALUE", "the oldest key event not yet checked", ParseExpectEvent,
         RunExpectEvent},
        {C::ExpectNoEvent, "expect no-event", "", "no key event left unchecked", NoArguments, RunExpectNoEvent},
        {C::ExpectReadout, "expect readout", "left|right|PLACE \"TEXT\"",
         "that readout's text after the last frame; PLACE as in describe's tree: 2.1",
         ParseExpectReadout, RunExpectReadout},
        {C::ExpectKnob, "expect knob", "DEGREES", "the knob's last value", ParseExpectKnob, RunExpectKnob},
        {C::ExpectTooltip, "expect tooltip", "\"TEXT\"", "the gauge's tooltip", ParseExpectTooltip, RunExpectTooltip},
        {C::ExpectCursor, "expect cursor", "X Y up|down|none", "the cursor over that point (off the face: none)",
         ParseExpectCursor, RunExpectCursor},
        {C::ExpectSnapshot, "expect snapshot", "FILE.png [TOLERANCE [PIXELS]]",
         "the last frame against a reference beside the scenario",
         ParseExpectSnapshot, RunExpectSnapshot},
        {C::Snapshot, "snapshot", "FILE.png", "write the last drawn frame (relative: in DIR)", ParseSnapshot,
         RunSnapshot},
    };
    return types;
}

const ScenarioCommandType& TypeOf(const ScenarioCommand& command)
{
    for (const ScenarioCommandType& type : ScenarioCommandTypes())
        if (type.kind == command.kind)
            return type;
    return ScenarioCommandTypes().front();  // every kind has its row
}

std::string ScenarioGrammar()
{
    std::vector<std::string> usages;
    size_t width = 0;
    for (const ScenarioCommandType& type : ScenarioCommandTypes()) {
        usages.push_back(std::string(type.name) + (*type.arguments ? " " : "") + type.arguments);
        width = std::max(width, usages.back().size());
    }
    std::string grammar;
    for (size_t i = 0; i < usages.size(); ++i)
        grammar += "  " + usages[i] + std::string(width + 2 - usages[i].size(), ' ') +
                   ScenarioCommandTypes()[i].summary + "\n";
    return grammar;
}
