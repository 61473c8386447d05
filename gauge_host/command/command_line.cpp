#include "gauge_host/command/command_line.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <filesystem>
#include <vector>

#include "gauge_host/core/panel_host.h"

namespace {

const char* CommandName(Options::Command command)
{
    switch (command) {
    case Options::Describe: return "describe";
    case Options::Run: return "run";
    case Options::Snapshot: return "snapshot";
    case Options::Show: return "show";
    case Options::Help: break;
    }
    return "help";
}

bool Fail(std::string* error, std::string message)
{
    *error = std::move(message);
    return false;
}

bool ParseNumber(const std::string& text, double* out)
{
    char* end;
    *out = strtod(text.c_str(), &end);
    return !text.empty() && *end == 0 && isfinite(*out);
}

std::string Number(double value)
{
    char text[32];
    snprintf(text, sizeof text, "%g", value);
    return text;
}

}  // namespace

bool ParseCommandLine(int argc, const char* const* argv, Options* options, std::string* error)
{
    *options = {};
    if (argc < 2)
        return Fail(error, "no command given (describe, run, snapshot, show; see gauge-host --help)");
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        options->command = Options::Help;
        if (argc > 2) {
            const std::string topic = argv[2];
            for (Options::Command c : {Options::Describe, Options::Run, Options::Snapshot, Options::Show})
                if (topic == CommandName(c))
                    options->help_for = c;
            if (options->help_for == Options::Help)
                return Fail(error, "no help on '" + topic + "' (describe, run, snapshot, show)");
        }
        return true;
    }
    if (name == "describe")
        options->command = Options::Describe;
    else if (name == "run")
        options->command = Options::Run;
    else if (name == "snapshot")
        options->command = Options::Snapshot;
    else if (name == "show")
        options->command = Options::Show;
    else
        return Fail(error, "unknown command '" + name + "' (describe, run, snapshot, show; see gauge-host --help)");

    const std::string see = " (see gauge-host " + name + " --help)";
    std::vector<std::string> positional;
    bool out_given = false;
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i], value;
        if (arg == "--help" || arg == "-h") {
            options->help_for = options->command;
            options->command = Options::Help;
            return true;
        }
        if (arg.compare(0, 2, "--") != 0 || arg.size() == 2) {
            positional.push_back(arg);
            continue;
        }
        const size_t equals = arg.find('=');
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
            arg.resize(equals);
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            return Fail(error, "option " + arg + " needs a value" + see);
        }

        const Options::Command c = options->command;
        if (arg == "--gauge") {
            options->gauge = value;
        } else if (arg == "--areas" && c == Options::Describe) {
            options->areas = value;
        } else if (arg == "--out" && c == Options::Run) {
            options->out_dir = value;
            out_given = true;
        } else if (arg == "--scale" && (c == Options::Run || c == Options::Snapshot)) {
            if (!ParseNumber(value, &options->view.scale) || options->view.scale < MinScale ||
                options->view.scale > MaxScale)
                return Fail(error, "--scale " + value + ": not a number from " + Number(MinScale) + " to " +
                                       Number(MaxScale));
        } else if (arg == "--light" && c != Options::Describe) {
            if (value != "day" && value != "night")
                return Fail(error, "--light " + value + ": should be day or night");
            options->view.light = value == "night" ? Light::Night : Light::Day;
        } else if (arg == "--size" && c == Options::Show) {
            double pixels;
            if (!ParseNumber(value, &pixels) || pixels != floor(pixels) || pixels < MinShowSize || pixels > MaxShowSize)
                return Fail(error, "--size " + value + ": not a whole number of pixels from " +
                                       std::to_string(MinShowSize) + " to " + std::to_string(MaxShowSize));
            options->size = int(pixels);
        } else if (arg == "--log" && c == Options::Show) {
            options->log = value;
        } else if (arg == "--fpu" && c != Options::Describe) {
            if (value != "24" && value != "53" && value != "64")
                return Fail(error, "--fpu " + value + ": should be 24, 53 or 64 (bits of x87 precision)");
            options->fpu_bits = atoi(value.c_str());
        } else if (arg == "--call-timeout" && c != Options::Describe) {
            double seconds;
            if (!ParseNumber(value, &seconds) || seconds != floor(seconds) || seconds < 0 || seconds > MaxCallTimeout)
                return Fail(error, "--call-timeout " + value + ": not a whole number of seconds from 0 to " +
                                       std::to_string(MaxCallTimeout));
            options->call_timeout = int(seconds);
        } else if (arg == "--yaw" && c == Options::Snapshot) {
            double steps;
            if (!ParseNumber(value, &steps) || steps != floor(steps) || fabs(steps) > MaxYawSteps)
                return Fail(error, "--yaw " + value + ": not a whole number of steps from -" +
                                       std::to_string(MaxYawSteps) + " to " + std::to_string(MaxYawSteps));
            options->yaw = int(steps);
        } else {
            return Fail(error, "unknown option " + arg + " for " + name + see);
        }
    }

    const bool module_only = options->command == Options::Describe || options->command == Options::Show;
    const size_t wanted = module_only ? 1 : 2;
    if (positional.size() != wanted) {
        const char* usage = module_only                           ? "MODULE"
                            : options->command == Options::Run    ? "MODULE SCENARIO"
                                                                  : "MODULE OUT.png";
        return Fail(error, name + " takes " + usage + (positional.size() < wanted ? "" : ", and nothing more") + see);
    }
    options->module = positional[0];
    if (options->command == Options::Run) {
        options->scenario = positional[1];
        if (!out_given)
            options->out_dir = (std::filesystem::path("out") / std::filesystem::path(positional[1]).stem()).string();
    } else if (options->command == Options::Snapshot) {
        options->png = positional[1];
    }
    return true;
}

std::string HelpText(Options::Command command)
{
    char repeat[160];
    snprintf(repeat, sizeof repeat,
             "A held button calls the area's function at the press, then after %.1f s\n"
             "%g times a second; frames run at %d a second of scenario time.\n",
             RepeatDelay, RepeatRate, FramesPerSecond);
    switch (command) {
    case Options::Describe:
        return "usage: gauge-host describe MODULE [--gauge NAME] [--areas OUT.png]\n"
               "\n"
               "Prints the module as a tree: Linkage, its gauges, each header's fields,\n"
               "every element (kind, bitmap and its size, position, offset, flags,\n"
               "source variables, colours, font, callback), the mouse areas as a table,\n"
               "the tooltip, the resources and the version strings. It runs none of the\n"
               "module's code: the file is mapped as an image resource and its records\n"
               "are read at the addresses they hold, for the image's preferred base.\n"
               "\n"
               "  --areas OUT.png  draw the mouse areas over the face (its bitmaps as placed,\n"
               "                   before any routine runs), tinted by cursor, with their\n"
               "                   outlines; the printed table is the legend.\n"
               "                   Overlapping children and areas outside the gauge are\n"
               "                   reported as warnings.\n"
               "  --gauge NAME     the gauge to draw with --areas (default: the first)\n"
               "\n"
               "Exit status: 0 described, 2 the module cannot be loaded or is malformed.\n";
    case Options::Run:
        return "usage: gauge-host run MODULE SCENARIO [--out DIR] [--scale S] [--light day|night]\n"
               "                      [--gauge NAME] [--fpu 24|53|64] [--call-timeout S]\n"
               "\n"
               "Runs a scenario: one command a line, '#' starts a comment, numbers\n"
               "decimal or 0x hex, points in unscaled face pixels.\n"
               "\n"
               "  var N VALUE                       host variable N reads VALUE from the next frame on\n"
               "  frame [COUNT]                     run COUNT frames (default 1): update, then draw\n"
               "  click X Y [left|right]            press and release a button there, then one frame\n"
               "  hold X Y SECONDS                  hold the left button there, frames running\n"
               "  expect event EVENT VALUE          the oldest key event not yet checked\n"
               "  expect no-event                   no key event left unchecked\n"
               "  expect readout left|right \"TEXT\"  that readout's text after the last frame\n"
               "  expect knob DEGREES               the knob's last value\n"
               "  expect tooltip \"TEXT\"             the gauge's tooltip\n"
               "  expect cursor X Y up|down|none    the cursor over that point\n"
               "  snapshot FILE.png                 write the last drawn frame (relative: in DIR)\n"
               "\n" +
               std::string(repeat) +
               "\n"
               "  --out DIR          where events.csv and the snapshots go (default out/SCENARIO-NAME)\n"
               "  --scale S          frame pixels per face pixel, 0.1 to 8 (default 1)\n"
               "  --light day|night  at night all but the bright elements are dimmed (default day)\n"
               "  --gauge NAME       the gauge to run (default: the first)\n"
               "  --fpu 24|53|64     x87 precision set for every call into the module (default 53)\n"
               "  --call-timeout S   a call into the module that takes longer ends the run, exit 2\n"
               "                     (default 5 s; 0: no limit)\n"
               "\n"
               "DIR/events.csv lists every key event: frame, time_s, event, value.\n"
               "Exit status: 0 every expectation held, 1 one failed (FILE:LINE: expected ..., got ...),\n"
               "2 bad input (FILE:LINE: ...), a module that cannot be loaded, or a call into it\n"
               "that did not return in time (the events so far are in events.csv).\n";
    case Options::Snapshot:
        return "usage: gauge-host snapshot MODULE OUT.png [--yaw N] [--scale S] [--light day|night]\n"
               "                           [--gauge NAME] [--fpu 24|53|64] [--call-timeout S]\n"
               "\n"
               "Draws one frame after N steps of clicks: N left clicks on the middle of\n"
               "the gauge's right half, or -N on its left half when N is negative.\n"
               "\n"
               "  --yaw N            clicks before the frame, -10000 to 10000 (default 0)\n"
               "  --scale S          frame pixels per face pixel, 0.1 to 8 (default 1)\n"
               "  --light day|night  at night all but the bright elements are dimmed (default day)\n"
               "  --gauge NAME       the gauge to draw (default: the first)\n"
               "  --fpu 24|53|64     x87 precision set for every call into the module (default 53)\n"
               "  --call-timeout S   a call into the module that takes longer ends the run, exit 2\n"
               "                     (default 5 s; 0: no limit)\n"
               "\n"
               "Exit status: 0 written, 2 bad input or a module that cannot be loaded.\n";
    case Options::Show:
        return "usage: gauge-host show MODULE [--gauge NAME] [--size PIXELS] [--light day|night]\n"
               "                       [--log FILE] [--fpu 24|53|64] [--call-timeout S]\n"
               "\n"
               "Opens the gauge in a window and runs it live, 18 frames a second, until\n"
               "the window is closed: the gauge's kill routine runs, the module is freed\n"
               "and the exit status is 0.\n"
               "\n"
               "  Mouse            left click and hold (repeats) through the module's mouse\n"
               "                   areas, their cursors and the gauge's tooltip; the right\n"
               "                   button only where an area asks for it\n"
               "  Up/Down          variable 558 up or down 0.01 (also its slider)\n"
               "  Page Up/Down     variable 558 up or down 0.1\n"
               "  Set variable     any variable by number (decimal or 0x hex), then Enter\n"
               "  Alt+N            night lighting on or off\n"
               "\n"
               "The window lists the key events the gauge sends (frame, time, event,\n"
               "value). When MODULE changes on disk it is loaded again and starts from\n"
               "zero; if the new file cannot be loaded the window says why and the last\n"
               "good module keeps running. The window works on a copy, so the file stays\n"
               "free for the build that rewrites it.\n"
               "\n"
               "  --size PIXELS      the gauge's width in the window, 100 to 2400 (default:\n"
               "                     its face's own size); the window can be resized\n"
               "  --light day|night  lighting at the start (default day)\n"
               "  --log FILE         also write each key event to FILE as it comes, in the\n"
               "                     columns of run's events.csv\n"
               "  --gauge NAME       the gauge to show (default: the first)\n"
               "  --fpu 24|53|64     x87 precision set for every call into the module (default 53)\n"
               "  --call-timeout S   a call into the module that takes longer stops the gauge;\n"
               "                     the window says which call\n"
               "                     (default 5 s; 0: no limit)\n"
               "\n"
               "Exit status: 0 the window was closed, 2 bad input or a module that cannot be\n"
               "loaded.\n";
    case Options::Help:
        break;
    }
    return "usage: gauge-host COMMAND MODULE ... [--help]\n"
           "\n"
           "A substitute panel host: loads a 32-bit gauge module (.gau), draws,\n"
           "clicks and scripts its gauges.\n"
           "\n"
           "  describe MODULE [--areas OUT.png]             print the module's records as a tree\n"
           "  run MODULE SCENARIO [--out DIR] [--scale S]   run a scenario, check its expectations\n"
           "      [--light day|night]\n"
           "  snapshot MODULE OUT.png [--yaw N] [--scale S] draw one frame as a PNG\n"
           "      [--light day|night]\n"
           "  show MODULE [--size PIXELS] [--log FILE]      open the gauge in a live window\n"
           "      [--light day|night]\n"
           "\n"
           "Every command takes --gauge NAME (default: the module's first gauge).\n"
           "gauge-host COMMAND --help tells more.\n"
           "\n" +
           std::string(repeat) +
           "\n"
           "Exit status: 0 success, 1 a scenario expectation failed, 2 bad input: a module\n"
           "that cannot be loaded, is malformed, faults while it runs or does not return\n"
           "from a call (one line says where).\n";
}
