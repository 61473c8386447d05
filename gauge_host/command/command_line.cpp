// Two tables drive the command line: the options (name, value, help,
// parse) and the commands (name, arguments, which options, texts). The
// parser and every help text are read off them.
#include "gauge_host/command/command_line.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <filesystem>
#include <vector>

#include "gauge_host/core/panel_host.h"
#include "gauge_host/core/record_walk.h"
#include "gauge_host/core/scenario_animation.h"
#include "gauge_host/core/scenario_commands.h"
#include "gauge_host/core/variable_input.h"
#include "common/fail.h"
#include "common/numbers.h"

namespace {

constexpr size_t UsageWidth = 84;  // a usage line wraps before this column

bool ParseWhole(const std::string& text, double least, double most, int* out)
{
    double number;
    if (!ParseReal(text, &number) || number != floor(number) || number < least || number > most)
        return false;
    *out = int(number);
    return true;
}

struct Option {
    const char* name;   // "--scale"
    const char* value;  // "S"; a word in [brackets] may be left out; null for a flag
    const char* help;   // lines after the first are indented under it
    bool (*parse)(const std::vector<std::string>& values, Options* options, std::string* error);
};

using Values = std::vector<std::string>;

const Option Gauge = {"--gauge", "NAME", "the gauge to use (default: the first)",
                      [](const Values& v, Options* o, std::string*) { return o->gauge = v[0], true; }};
const Option Areas = {"--areas", "OUT.png",
                      "draw the mouse areas over the face, tinted by cursor,\n"
                      "with their outlines; the printed table is the legend.\n"
                      "Overlapping children and areas outside the gauge are\n"
                      "reported as warnings.",
                      [](const Values& v, Options* o, std::string*) { return o->areas = v[0], true; }};
const Option Out = {"--out", "DIR", "where events.csv and the snapshots go (default out/SCENARIO-NAME)",
                    [](const Values& v, Options* o, std::string*) { return o->out_dir = v[0], true; }};
const Option Scale = {"--scale", "S", "frame pixels per face pixel, 0.1 to 8 (default 1)",
                      [](const Values& v, Options* o, std::string* error) {
                          if (!ParseReal(v[0], &o->view.scale) || o->view.scale < MinScale || o->view.scale > MaxScale)
                              return Fail(error, "--scale " + v[0] + ": not a number from " + ShortNumber(MinScale) +
                                                     " to " + ShortNumber(MaxScale));
                          return true;
                      }};
const Option LightOption = {"--light", "day|night", "at night all but the bright elements are dimmed (default day)",
                            [](const Values& v, Options* o, std::string* error) {
                                if (v[0] != "day" && v[0] != "night")
                                    return Fail(error, "--light " + v[0] + ": should be day or night");
                                o->view.light = v[0] == "night" ? Light::Night : Light::Day;
                                return true;
                            }};
const Option Click = {"--click", "X Y [COUNT]",
                      "COUNT left clicks (default 1, at most 10000) at face pixel\n"
                      "(X, Y), then a frame; repeatable",
                      [](const Values& v, Options* o, std::string* error) {
                          SnapshotStep step;
                          const std::string given = v[0] + " " + v[1] + (v.size() > 2 ? " " + v[2] : "");
                          if (!ParseWhole(v[0], -MaxCoordinate, MaxCoordinate, &step.x) ||
                              !ParseWhole(v[1], -MaxCoordinate, MaxCoordinate, &step.y))
                              return Fail(error, "--click " + given + ": X Y are not two whole numbers of face pixels");
                          if (v.size() > 2 && !ParseWhole(v[2], 1, MaxClicks, &step.count))
                              return Fail(error, "--click " + given + ": COUNT is not a whole number from 1 to " +
                                                     std::to_string(MaxClicks));
                          o->steps.push_back(step);
                          return true;
                      }};
const Option Var = {"--var", "N VALUE", "host variable N (decimal or 0x hex) reads VALUE; repeatable",
                    [](const Values& v, Options* o, std::string* error) {
                        SnapshotStep step;
                        step.set_variable = true;
                        if (!ParseVariableNumber(v[0], &step.variable))
                            return Fail(error, "--var " + v[0] + ": not a variable number from 0 to 0xFFFFFFFF");
                        if (!ParseVariableValue(v[1], &step.value))
                            return Fail(error, "--var " + v[0] + " " + v[1] + ": VALUE is not a number");
                        o->steps.push_back(step);
                        return true;
                    }};
const Option Size = {"--size", "PIXELS",
                     "the gauge's width in the window, 100 to 2400 (default:\n"
                     "its face's own size); the window can be resized",
                     [](const Values& v, Options* o, std::string* error) {
                         if (!ParseWhole(v[0], MinShowSize, MaxShowSize, &o->size))
                             return Fail(error, "--size " + v[0] + ": not a whole number of pixels from " +
                                                    std::to_string(MinShowSize) + " to " + std::to_string(MaxShowSize));
                         return true;
                     }};
const Option Log = {"--log", "FILE",
                    "also write each key event to FILE as it comes, in the\n"
                    "columns of run's events.csv",
                    [](const Values& v, Options* o, std::string*) { return o->log = v[0], true; }};

const Option UpdateSnapshots = {"--update-snapshots", nullptr,
                                "write every reference an 'expect snapshot' names, instead\n"
                                "of checking it",
                                [](const Values&, Options* o, std::string*) { return o->update_snapshots = true; }};
const Option Animation = {"--animation", "FILE.png",
                          "also write the run as an animated PNG (APNG) at --scale;\n"
                          "identical consecutive frames become one longer frame",
                          [](const Values& v, Options* o, std::string* error) {
                              if (v[0].size() < 5 || v[0].compare(v[0].size() - 4, 4, ".png") != 0)
                                  return Fail(error, "--animation " + v[0] + ": the file should end in .png");
                              o->animation = v[0];
                              return true;
                          }};
const Option Fps = {"--fps", "N", "the animation's frames a second, 1 to 100 (default 18, the scenario's)",
                    [](const Values& v, Options* o, std::string* error) {
                        if (!ParseWhole(v[0], MinAnimationFps, MaxAnimationFps, &o->fps))
                            return Fail(error, "--fps " + v[0] + ": not a whole number of frames a second from " +
                                                   std::to_string(MinAnimationFps) + " to " +
                                                   std::to_string(MaxAnimationFps));
                        return true;
                    }};
const Option Record = {"--record", "FILE.scenario",
                       "write the session, when the window closes, as a scenario:\n"
                       "clicks, holds, variable changes and the frames between\n"
                       "them, then expect lines for the key events sent, both\n"
                       "readouts and the knob; gauge-host run replays it. A\n"
                       "reload starts the recording again.",
                       [](const Values& v, Options* o, std::string*) { return o->record = v[0], true; }};

const Option Fpu = {"--fpu", "24|53|64", "x87 precision set for every call into the module (default 53)",
                    [](const Values& v, Options* o, std::string* error) {
                        if (v[0] != "24" && v[0] != "53" && v[0] != "64")
                            return Fail(error, "--fpu " + v[0] + ": should be 24, 53 or 64 (bits of x87 precision)");
                        o->fpu_bits = atoi(v[0].c_str());
                        return true;
                    }};
const Option CallTimeout = {"--call-timeout", "S",
                            "a call into the module that takes longer ends the run, exit 2\n"
                            "(default 5 s; 0: no limit)",
                            [](const Values& v, Options* o, std::string* error) {
                                if (!ParseWhole(v[0], 0, MaxCallTimeout, &o->call_timeout))
                                    return Fail(error, "--call-timeout " + v[0] +
                                                           ": not a whole number of seconds from 0 to " +
                                                           std::to_string(MaxCallTimeout));
                                return true;
                            }};

struct Command {
    Options::Command command;
    const char* name;
    std::vector<const char*> arguments;  // the words before the options: MODULE SCENARIO
    const char* summary;                 // a line of the general help
    std::vector<const Option*> options;  // in the order usage shows them
    std::string (*before)();             // what the command does: the help above the options
    const char* after;                   // the help below them
};

std::string RepeatText()
{
    char repeat[160];
    snprintf(repeat, sizeof repeat,
             "A held button calls the area's function at the press, then after %.1f s\n"
             "%g times a second; frames run at %d a second of scenario time.\n",
             RepeatDelay, RepeatRate, FramesPerSecond);
    return repeat;
}

const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands = {
        {Options::Describe, "describe", {"MODULE"}, "print the module's records as a tree", {&Gauge, &Areas},
         [] {
             return std::string("Prints the module as a tree: Linkage, its gauges, each header's fields,\n"
                                "every element by its place in the tree (1.1: the first of the first\n"
                                "root's next list, the PLACE of run's expect readout) with its kind,\n"
                                "bitmap and its size, position, offset, flags, source variables,\n"
                                "colours, font and callback, the mouse areas as a table,\n"
                                "the tooltip, the resources and the version strings. It runs none of the\n"
                                "module's code: the file is mapped as an image resource and its records\n"
                                "are read at the addresses they hold, for the image's preferred base.\n");
         },
         "Exit status: 0 described, 2 the module cannot be loaded or is malformed.\n"},
        {Options::Run, "run", {"MODULE", "SCENARIO"}, "run a scenario, check its expectations and pictures",
         {&Out, &Scale, &LightOption, &UpdateSnapshots, &Animation, &Fps, &Gauge, &Fpu, &CallTimeout},
         [] {
             return "Runs a scenario: one command a line, '#' starts a comment, numbers\n"
                    "decimal or 0x hex, points in unscaled face pixels.\n\n" +
                    ScenarioGrammar() + "\n" + RepeatText();
         },
         "DIR/events.csv lists every key event: frame, time_s, event, value.\n"
         "expect snapshot: at most PIXELS pixels (default 0) may differ by more than\n"
         "TOLERANCE (0 to 255, default 0) in a channel. One that differs fails with\n"
         "FILE:LINE: snapshot differs from REF: N pixels over tolerance in x0..x1, y0..y1,\n"
         "largest difference D, and DIR gets NAME.actual.png and NAME.diff.png (the\n"
         "differences in red over the faded frame).\n"
         "Exit status: 0 every expectation held, 1 one failed (FILE:LINE: expected ..., got ...),\n"
         "2 bad input (FILE:LINE: ...: also a missing, unreadable or wrong-size reference),\n"
         "a module that cannot be loaded, or a call into it that did not return in time\n"
         "(the events so far are in events.csv).\n"},
        {Options::Snapshot, "snapshot", {"MODULE", "OUT.png"}, "draw one frame as a PNG",
         {&Click, &Var, &Scale, &LightOption, &Gauge, &Fpu, &CallTimeout},
         [] {
             return std::string("Draws one frame after the clicks and variables given, in their order.\n"
                                "For TIY, 30 steps to the right: --click 450 300 30; to the left: --click 150 300 30.\n");
         },
         "Exit status: 0 written, 2 bad input or a module that cannot be loaded.\n"},
        {Options::Show, "show", {"MODULE"}, "open the gauge in a live window, record a session", {&Gauge, &Size, &LightOption, &Log, &Record, &Fpu, &CallTimeout},
         [] {
             return std::string(
                 "Opens the gauge in a window and runs it live, 18 frames a second, until\n"
                 "the window is closed: the gauge's kill routine runs, the module is freed\n"
                 "and the exit status is 0.\n"
                 "\n"
                 "  Mouse            left click and hold (repeats) through the module's mouse\n"
                 "                   areas, their cursors and the gauge's tooltip; the right\n"
                 "                   button only where an area asks for it\n"
                 "  Sliders          one for each variable the gauge's records name (up to " +
                 std::to_string(MaxSliders) + "),\n"
                 "                   labelled with its number and value, 0 to 1\n"
                 "  Up/Down          the slider last touched (at first the top one) up or\n"
                 "                   down 0.01\n"
                 "  Page Up/Down     the same slider up or down 0.1\n"
                 "  Set variable     any variable by number (decimal or 0x hex), then Enter\n"
                 "  Alt+N            night lighting on or off\n"
                 "\n"
                 "The window lists the key events the gauge sends (frame, time, event,\n"
                 "value). When MODULE changes on disk it is loaded again and starts from\n"
                 "zero; if the new file cannot be loaded the window says why and the last\n"
                 "good module keeps running. The window works on a copy, so the file stays\n"
                 "free for the build that rewrites it.\n");
         },
         "Exit status: 0 the window was closed, 2 bad input, a module that cannot be\n"
         "loaded, or a call into it that did not return in time (the window says which).\n"},
    };
    return commands;
}

std::string CommandNames()
{
    std::string names;
    for (const Command& c : Commands()) {
        if (!names.empty())
            names += ", ";
        names += c.name;
    }
    return names;
}

const Command* Find(Options::Command command)
{
    for (const Command& c : Commands())
        if (c.command == command)
            return &c;
    return nullptr;
}

std::string Arguments(const Command& c)
{
    std::string words;
    for (const char* word : c.arguments) {
        if (!words.empty())
            words += ' ';
        words += word;
    }
    return words;
}

// "usage: gauge-host run MODULE SCENARIO [--out DIR] ...", wrapped under the command.
std::string UsageLines(const Command& c)
{
    const std::string start = "usage: gauge-host " + std::string(c.name) + " ";
    const std::string indent(start.size(), ' ');
    std::string text, line = start + Arguments(c);
    for (const Option* o : c.options) {
        std::string word = "[";
        word += o->name;
        if (o->value) {
            word += ' ';
            word += o->value;
        }
        word += ']';
        if (line.size() + 1 + word.size() > UsageWidth) {
            text += line + "\n";
            line = indent + word;
        } else {
            line += " " + word;
        }
    }
    return text + line + "\n";
}

std::string OptionLines(const Command& c)
{
    constexpr size_t Column = 21;  // where the help starts
    std::string text;
    for (const Option* o : c.options) {
        std::string head = "  " + std::string(o->name) + (o->value ? std::string(" ") + o->value : "");
        head.resize(std::max(Column - 2, head.size()) + 2, ' ');
        std::string help = o->help;
        for (size_t at = help.find('\n'); at != std::string::npos; at = help.find('\n', at + 1))
            help.insert(at + 1, std::string(head.size(), ' '));
        text += head + help + "\n";
    }
    return text;
}

std::string GeneralHelp()
{
    std::string lines;
    for (const Command& c : Commands())
        lines += "  " + std::string(c.name) + " " + Arguments(c) + std::string(26 - strlen(c.name) -
                 Arguments(c).size(), ' ') + c.summary + "\n";
    return "usage: gauge-host COMMAND MODULE ... [--help]\n"
           "\n"
           "A substitute panel host: loads a 32-bit gauge module (.gau), draws,\n"
           "clicks and scripts its gauges.\n"
           "\n" +
           lines +
           "\n"
           "Every command takes --gauge NAME (default: the module's first gauge).\n"
           "gauge-host COMMAND --help tells more.\n"
           "\n" +
           RepeatText() +
           "\n"
           "Exit status: 0 success, 1 a scenario expectation failed, 2 bad input: a module\n"
           "that cannot be loaded, is malformed or faults while it runs (one line says where).\n";
}

bool ParseHelp(int argc, const char* const* argv, Options* options, std::string* error)
{
    options->command = Options::Help;
    if (argc <= 2)
        return true;
    for (const Command& c : Commands())
        if (argv[2] == std::string(c.name))
            options->help_for = c.command;
    if (options->help_for == Options::Help)
        return Fail(error, "no help on '" + std::string(argv[2]) + "' (" + CommandNames() + ")");
    return true;
}

// The words an option takes: "--scale 2" or "--scale=2"; "--click X Y [COUNT]"
// takes COUNT when the next word is a number.
bool ParseOption(const Command& command, std::string arg, int argc, const char* const* argv, int* i,
                 Options* options, std::string* error)
{
    const std::string see = " (see gauge-host " + std::string(command.name) + " --help)";
    Values values;
    const size_t equals = arg.find('=');
    if (equals != std::string::npos) {
        values.push_back(arg.substr(equals + 1));
        arg.resize(equals);
    }
    const Option* option = nullptr;
    for (const Option* o : command.options)
        if (arg == o->name)
            option = o;
    if (!option)
        return Fail(error, "unknown option " + arg + " for " + command.name + see);
    if (!option->value)
        return values.empty() ? option->parse(values, options, error)
                              : Fail(error, "option " + arg + " takes no value" + see);
    size_t least, most;
    UsageCounts(option->value, &least, &most);
    double number;
    while (values.size() < least && *i + 1 < argc)
        values.push_back(argv[++*i]);
    while (values.size() < most && *i + 1 < argc && ParseReal(argv[*i + 1], &number))
        values.push_back(argv[++*i]);
    if (values.size() < least)
        return Fail(error, "option " + arg + (least > 1 ? " needs " + std::string(option->value) : " needs a value") + see);
    return option->parse(values, options, error);
}

}  // namespace

bool ParseCommandLine(int argc, const char* const* argv, Options* options, std::string* error)
{
    *options = {};
    if (argc < 2)
        return Fail(error, "no command given (" + CommandNames() + "; see gauge-host --help)");
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help")
        return ParseHelp(argc, argv, options, error);
    const Command* command = nullptr;
    for (const Command& c : Commands())
        if (name == c.name)
            command = &c;
    if (!command)
        return Fail(error, "unknown command '" + name + "' (" + CommandNames() + "; see gauge-host --help)");
    options->command = command->command;

    std::vector<std::string> positional;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            options->help_for = options->command;
            options->command = Options::Help;
            return true;
        }
        if (arg.compare(0, 2, "--") != 0 || arg.size() == 2)
            positional.push_back(arg);
        else if (!ParseOption(*command, arg, argc, argv, &i, options, error))
            return false;
    }

    if (positional.size() != command->arguments.size())
        return Fail(error, name + " takes " + Arguments(*command) +
                               (positional.size() < command->arguments.size() ? "" : ", and nothing more") +
                               " (see gauge-host " + name + " --help)");
    if (options->fps && options->animation.empty())
        return Fail(error, "--fps sets the animation's rate: give --animation FILE.png too (see gauge-host " + name +
                               " --help)");
    if (!options->fps)
        options->fps = FramesPerSecond;
    options->module = positional[0];
    if (options->command == Options::Run) {
        options->scenario = positional[1];
        if (options->out_dir.empty())
            options->out_dir = (std::filesystem::path("out") / std::filesystem::path(positional[1]).stem()).string();
    } else if (options->command == Options::Snapshot) {
        options->png = positional[1];
    }
    return true;
}

int Refuse(const std::string& message)
{
    fprintf(stderr, "gauge-host: %s\n", message.c_str());
    return ExitBadInput;
}

std::string HelpText(Options::Command command)
{
    const Command* c = Find(command);
    if (!c)
        return GeneralHelp();
    return UsageLines(*c) + "\n" + c->before() + "\n" + OptionLines(*c) + "\n" + c->after;
}
