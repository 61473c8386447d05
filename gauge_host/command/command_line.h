// command_line.h: gauge-host's commands, options and help texts.
//
//   gauge-host describe MODULE [--areas OUT.png]
//   gauge-host run MODULE SCENARIO [--out DIR] [--scale S] [--light day|night]
//                  [--update-snapshots] [--animation FILE.png [--fps N]]
//   gauge-host snapshot MODULE OUT.png [--click X Y [COUNT]] [--var N VALUE] [--scale S] [--light day|night]
//   gauge-host show MODULE [--size PIXELS] [--light day|night] [--log FILE]
//                  [--record FILE.scenario]
//
// Every command also takes --gauge NAME (default: the module's first
// gauge) and --help; those that run the module --fpu 24|53|64 and
// --call-timeout SECONDS. Options take their value as the next word or after
// '=' (--scale=2); --update-snapshots takes none.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "gauge_host/core/element_state.h"

constexpr double MinScale = 0.1, MaxScale = 8;
constexpr int MaxClicks = 10000;  // a snapshot --click's COUNT
constexpr int MinShowSize = 100, MaxShowSize = 2400;  // the gauge's width in the window
// The x87 precision (bits) a module's calls run at: 53 as most hosts leave
// it; 24 as a Direct3D 9 program does; 64 as some runtimes do.
constexpr int DefaultFpuBits = 53;
constexpr int DefaultCallTimeout = 5, MaxCallTimeout = 3600;  // seconds a call into the module may take; 0: no limit

// snapshot's --click X Y [COUNT] and --var N VALUE, applied in order.
struct SnapshotStep {
    bool set_variable = false;
    int x = 0, y = 0, count = 1;  // a click: COUNT left clicks at face pixel (X, Y)
    uint32_t variable = 0;
    double value = 0;
};

struct Options {
    enum Command { Help, Describe, Run, Snapshot, Show };
    Command command = Help;
    Command help_for = Help;  // with Help: the command whose help was asked for
    std::string module, scenario, png, areas, out_dir, gauge, log;
    std::string record;  // show: the scenario file the session goes to
    std::string animation;  // run: the APNG file
    int fps = 0;  // run: the animation's frames a second; 0 until parsed, then the scenario's by default
    bool update_snapshots = false;  // run
    View view;
    std::vector<SnapshotStep> steps;
    int size = 0;  // show: 0 draws the face at its own size
    int fpu_bits = DefaultFpuBits;
    int call_timeout = DefaultCallTimeout;
};

// False with a one-line message for a command line that makes no sense.
bool ParseCommandLine(int argc, const char* const* argv, Options* options, std::string* error);

std::string HelpText(Options::Command command);

// Prints "gauge-host: MESSAGE" on stderr; returns the bad-input exit status.
int Refuse(const std::string& message);
