// scenario_parser.h: reads a gauge-host scenario, one command a line.
//
// The commands are the rows of scenario_commands.h (`gauge-host run --help`
// lists them).
//
// '#' starts a comment outside quotes. Numbers are decimal or 0x hex, with
// an optional sign; event values may be given as their 32-bit pattern
// (0xFFFFC180 is -16000). Points are in unscaled face pixels. Texts are in
// double quotes, with \" and \\ for a quote and a backslash.
//
// Usage:
//   Scenario scenario;
//   if (!ParseScenario(text, size, "demo.scenario", &scenario, &error))
//       ... error is "demo.scenario:LINE: what is wrong"
//
// The whole text is checked before anything runs, so a typo on the last
// line costs no run.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

constexpr int MaxFrameCount = 1000000;
constexpr double MaxHoldSeconds = 3600;
constexpr int64_t MaxAllowedPixels = int64_t(1) << 40;  // expect snapshot: beyond any frame's size

struct ScenarioCommand {
    enum Kind {
        SetVariable,
        RunFrames,
        Click,
        Hold,
        ExpectEvent,
        ExpectNoEvent,
        ExpectReadout,
        ExpectKnob,
        ExpectTooltip,
        ExpectCursor,
        ExpectSnapshot,
        Snapshot,
    };
    Kind kind = RunFrames;
    int line = 0;
    uint32_t number = 0;  // variable (var) or event (expect event)
    double value = 0;     // var value, hold seconds, knob degrees
    int32_t event_value = 0;
    int count = 1;        // frames
    int x = 0, y = 0;
    bool right_button = false;
    bool right_readout = false;
    std::string place;    // expect readout by tree place ("2", "1.3"); empty: left or right
    int32_t cursor = 0;
    int tolerance = 0;    // expect snapshot: per channel
    int64_t allowed_pixels = 0;  // expect snapshot: over the tolerance
    std::string text;     // readout text, tooltip, snapshot file
};

struct Scenario {
    std::string file;
    std::vector<ScenarioCommand> commands;
};

// text in double quotes, as the parser reads it back.
std::string QuoteScenarioText(const std::string& text);

bool ParseScenario(const char* text, size_t size, const std::string& file, Scenario* scenario, std::string* error);
