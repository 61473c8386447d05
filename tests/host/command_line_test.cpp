// gauge-host's command line: each command's arguments and options, and the
// message for each kind of bad one.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gauge_host/command/command_line.h"
#include "gauge_host/core/scenario_commands.h"

namespace {

bool Parse(std::vector<const char*> words, Options* options, std::string* error)
{
    words.insert(words.begin(), "gauge-host");
    return ParseCommandLine(int(words.size()), words.data(), options, error);
}

struct GoodCase {
    std::vector<const char*> words;
    std::function<void(const Options&)> check;
};

TEST(CommandLine, GoodCommandLines)
{
    const GoodCase cases[] = {
        {{"--help"}, [](const Options& o) {
             EXPECT_EQ(o.command, Options::Help);
             EXPECT_EQ(o.help_for, Options::Help);
         }},
        {{"help", "run"}, [](const Options& o) {
             EXPECT_EQ(o.command, Options::Help);
             EXPECT_EQ(o.help_for, Options::Run);
         }},
        {{"snapshot", "m.gau", "-h", "--scale", "0"}, [](const Options& o) {
             EXPECT_EQ(o.command, Options::Help) << "help wins over what follows it";
             EXPECT_EQ(o.help_for, Options::Snapshot);
         }},
        {{"describe", "m.gau"}, [](const Options& o) {
             EXPECT_EQ(o.command, Options::Describe);
             EXPECT_EQ(o.module, "m.gau");
             EXPECT_EQ(o.areas, "");
             EXPECT_EQ(o.gauge, "");
         }},
        {{"describe", "--areas", "a.png", "m.gau", "--gauge=TIY"}, [](const Options& o) {
             EXPECT_EQ(o.module, "m.gau");
             EXPECT_EQ(o.areas, "a.png");
             EXPECT_EQ(o.gauge, "TIY");
         }},
        {{"run", "m.gau", "tests/demo.scenario"}, [](const Options& o) {
             EXPECT_EQ(o.command, Options::Run);
             EXPECT_EQ(o.scenario, "tests/demo.scenario");
             EXPECT_EQ(o.out_dir, "out/demo") << "default: out/ and the scenario's name";
             EXPECT_EQ(o.view.scale, 1);
             EXPECT_EQ(o.view.light, Light::Day);
             EXPECT_FALSE(o.update_snapshots);
             EXPECT_EQ(o.animation, "");
             EXPECT_EQ(o.fps, 18) << "the scenario's own rate";
         }},
        {{"run", "m.gau", "--update-snapshots", "s.scenario", "--animation", "a.png", "--fps=5"},
         [](const Options& o) {
             EXPECT_TRUE(o.update_snapshots) << "a flag: the next word stays a positional";
             EXPECT_EQ(o.scenario, "s.scenario");
             EXPECT_EQ(o.animation, "a.png");
             EXPECT_EQ(o.fps, 5);
         }},
        {{"run", "m.gau", "s.scenario", "--out", "o", "--scale=2.5", "--light", "night"}, [](const Options& o) {
             EXPECT_EQ(o.out_dir, "o");
             EXPECT_EQ(o.view.scale, 2.5);
             EXPECT_EQ(o.view.light, Light::Night);
         }},
        {{"run", "m.gau", "s.scenario", "--scale", "0.1", "--light=day"}, [](const Options& o) {
             EXPECT_EQ(o.view.scale, 0.1);
             EXPECT_EQ(o.view.light, Light::Day);
         }},
        {{"snapshot", "m.gau", "o.png", "--click", "150", "300", "30", "--scale", "8"}, [](const Options& o) {
             EXPECT_EQ(o.command, Options::Snapshot);
             EXPECT_EQ(o.png, "o.png");
             ASSERT_EQ(o.steps.size(), 1u);
             EXPECT_FALSE(o.steps[0].set_variable);
             EXPECT_EQ(o.steps[0].x, 150);
             EXPECT_EQ(o.steps[0].y, 300);
             EXPECT_EQ(o.steps[0].count, 30);
             EXPECT_EQ(o.view.scale, 8);
         }},
        {{"snapshot", "m.gau", "--var", "0x22E", "0.45", "--click", "450", "300", "o.png", "--click", "1", "2",
          "10000"},
         [](const Options& o) {
             ASSERT_EQ(o.steps.size(), 3u) << "in the order given";
             EXPECT_TRUE(o.steps[0].set_variable);
             EXPECT_EQ(o.steps[0].variable, 558u);
             EXPECT_EQ(o.steps[0].value, 0.45);
             EXPECT_EQ(o.steps[1].count, 1) << "COUNT left out: the next word is no number";
             EXPECT_EQ(o.steps[2].count, MaxClicks);
             EXPECT_EQ(o.png, "o.png");
         }},
        {{"show", "m.gau", "--size", "800", "--log", "e.csv", "--light", "night"}, [](const Options& o) {
             EXPECT_EQ(o.command, Options::Show);
             EXPECT_EQ(o.size, 800);
             EXPECT_EQ(o.log, "e.csv");
             EXPECT_EQ(o.view.light, Light::Night);
         }},
        {{"show", "m.gau"}, [](const Options& o) {
             EXPECT_EQ(o.size, 0) << "the face's own size";
             EXPECT_EQ(o.record, "");
         }},
        {{"show", "m.gau", "--record", "session.scenario"}, [](const Options& o) {
             EXPECT_EQ(o.record, "session.scenario");
         }},
        {{"run", "m.gau", "s.scenario"}, [](const Options& o) {
             EXPECT_EQ(o.fpu_bits, 53);
             EXPECT_EQ(o.call_timeout, 5);
         }},
        {{"snapshot", "m.gau", "o.png", "--fpu", "24", "--call-timeout=0"}, [](const Options& o) {
             EXPECT_EQ(o.fpu_bits, 24);
             EXPECT_EQ(o.call_timeout, 0) << "no limit";
         }},
        {{"show", "m.gau", "--fpu=64", "--call-timeout", "3600"}, [](const Options& o) {
             EXPECT_EQ(o.fpu_bits, 64);
             EXPECT_EQ(o.call_timeout, MaxCallTimeout);
         }},
    };
    for (const GoodCase& c : cases) {
        std::string name;
        for (const char* word : c.words)
            name += std::string(word) + " ";
        Options options;
        std::string error;
        ASSERT_TRUE(Parse(c.words, &options, &error)) << "case " << name << ": " << error;
        SCOPED_TRACE("case " + name);
        c.check(options);
    }
}

struct BadCase {
    std::vector<const char*> words;
    const char* error;
};

TEST(CommandLine, BadCommandLinesSayWhatIsWrong)
{
    const BadCase cases[] = {
        {{}, "no command given (describe, run, snapshot, show; see gauge-host --help)"},
        {{"fly", "m.gau"}, "unknown command 'fly' (describe, run, snapshot, show; see gauge-host --help)"},
        {{"help", "fly"}, "no help on 'fly' (describe, run, snapshot, show)"},
        {{"describe"}, "describe takes MODULE (see gauge-host describe --help)"},
        {{"describe", "a.gau", "b.gau"}, "describe takes MODULE, and nothing more (see gauge-host describe --help)"},
        {{"run", "m.gau"}, "run takes MODULE SCENARIO (see gauge-host run --help)"},
        {{"run", "--scale", "2"}, "run takes MODULE SCENARIO (see gauge-host run --help)"},
        {{"snapshot", "m.gau"}, "snapshot takes MODULE OUT.png (see gauge-host snapshot --help)"},
        {{"show"}, "show takes MODULE (see gauge-host show --help)"},
        {{"run", "m.gau", "s.scenario", "--scale", "0"}, "--scale 0: not a number from 0.1 to 8"},
        {{"run", "m.gau", "s.scenario", "--scale", "100"}, "--scale 100: not a number from 0.1 to 8"},
        {{"run", "m.gau", "s.scenario", "--scale", "0.09"}, "--scale 0.09: not a number from 0.1 to 8"},
        {{"snapshot", "m.gau", "o.png", "--scale=big"}, "--scale big: not a number from 0.1 to 8"},
        {{"snapshot", "m.gau", "o.png", "--scale=nan"}, "--scale nan: not a number from 0.1 to 8"},
        {{"snapshot", "m.gau", "o.png", "--scale="}, "--scale : not a number from 0.1 to 8"},
        {{"run", "m.gau", "s.scenario", "--light", "dusk"}, "--light dusk: should be day or night"},
        {{"show", "m.gau", "--light=Night"}, "--light Night: should be day or night"},
        {{"snapshot", "m.gau", "o.png", "--click", "abc", "1"},
         "--click abc 1: X Y are not two whole numbers of face pixels"},
        {{"snapshot", "m.gau", "o.png", "--click", "1.5", "1"},
         "--click 1.5 1: X Y are not two whole numbers of face pixels"},
        {{"snapshot", "m.gau", "o.png", "--click", "1", "1", "0"},
         "--click 1 1 0: COUNT is not a whole number from 1 to 10000"},
        {{"snapshot", "m.gau", "o.png", "--click", "1", "1", "10001"},
         "--click 1 1 10001: COUNT is not a whole number from 1 to 10000"},
        {{"snapshot", "m.gau", "o.png", "--click", "1"}, "option --click needs X Y [COUNT] (see gauge-host snapshot --help)"},
        {{"snapshot", "m.gau", "o.png", "--var", "x", "1"}, "--var x: not a variable number from 0 to 0xFFFFFFFF"},
        {{"snapshot", "m.gau", "o.png", "--var", "558", "high"}, "--var 558 high: VALUE is not a number"},
        {{"show", "m.gau", "--size", "99"}, "--size 99: not a whole number of pixels from 100 to 2400"},
        {{"show", "m.gau", "--size", "2401"}, "--size 2401: not a whole number of pixels from 100 to 2400"},
        {{"show", "m.gau", "--size", "800.5"}, "--size 800.5: not a whole number of pixels from 100 to 2400"},
        {{"run", "m.gau", "s.scenario", "--out"}, "option --out needs a value (see gauge-host run --help)"},
        {{"describe", "m.gau", "--scale", "2"}, "unknown option --scale for describe (see gauge-host describe --help)"},
        {{"describe", "m.gau", "--light", "day"},
         "unknown option --light for describe (see gauge-host describe --help)"},
        {{"run", "m.gau", "s.scenario", "--click", "3", "3"}, "unknown option --click for run (see gauge-host run --help)"},
        {{"snapshot", "m.gau", "o.png", "--yaw", "3"},
         "unknown option --yaw for snapshot (see gauge-host snapshot --help)"},
        {{"snapshot", "m.gau", "o.png", "--size", "300"},
         "unknown option --size for snapshot (see gauge-host snapshot --help)"},
        {{"show", "m.gau", "--out", "d"}, "unknown option --out for show (see gauge-host show --help)"},
        {{"show", "m.gau", "--colour", "red"}, "unknown option --colour for show (see gauge-host show --help)"},
        {{"run", "m.gau", "s.scenario", "--fpu", "32"}, "--fpu 32: should be 24, 53 or 64 (bits of x87 precision)"},
        {{"snapshot", "m.gau", "o.png", "--fpu="}, "--fpu : should be 24, 53 or 64 (bits of x87 precision)"},
        {{"run", "m.gau", "s.scenario", "--call-timeout", "-1"},
         "--call-timeout -1: not a whole number of seconds from 0 to 3600"},
        {{"show", "m.gau", "--call-timeout", "0.5"}, "--call-timeout 0.5: not a whole number of seconds from 0 to 3600"},
        {{"snapshot", "m.gau", "o.png", "--call-timeout", "3601"},
         "--call-timeout 3601: not a whole number of seconds from 0 to 3600"},
        {{"describe", "m.gau", "--fpu", "24"}, "unknown option --fpu for describe (see gauge-host describe --help)"},
        {{"run", "m.gau", "s.scenario", "--animation", "a.gif"}, "--animation a.gif: the file should end in .png"},
        {{"run", "m.gau", "s.scenario", "--animation", "a.png", "--fps", "0"},
         "--fps 0: not a whole number of frames a second from 1 to 100"},
        {{"run", "m.gau", "s.scenario", "--animation", "a.png", "--fps", "101"},
         "--fps 101: not a whole number of frames a second from 1 to 100"},
        {{"run", "m.gau", "s.scenario", "--animation", "a.png", "--fps", "12.5"},
         "--fps 12.5: not a whole number of frames a second from 1 to 100"},
        {{"run", "m.gau", "s.scenario", "--fps", "12"},
         "--fps sets the animation's rate: give --animation FILE.png too (see gauge-host run --help)"},
        {{"run", "m.gau", "s.scenario", "--update-snapshots=yes"},
         "option --update-snapshots takes no value (see gauge-host run --help)"},
        {{"snapshot", "m.gau", "o.png", "--update-snapshots"},
         "unknown option --update-snapshots for snapshot (see gauge-host snapshot --help)"},
        {{"show", "m.gau", "--record"}, "option --record needs a value (see gauge-host show --help)"},
        {{"run", "m.gau", "s.scenario", "--record", "r.scenario"},
         "unknown option --record for run (see gauge-host run --help)"},
    };
    for (const BadCase& c : cases) {
        std::string name;
        for (const char* word : c.words)
            name += std::string(word) + " ";
        Options options;
        std::string error;
        EXPECT_FALSE(Parse(c.words, &options, &error)) << "case " << name;
        EXPECT_EQ(error, c.error) << "case " << name;
    }
}

TEST(CommandLine, EachCommandHasItsHelp)
{
    const struct {
        Options::Command command;
        const char* usage;
    } cases[] = {
        {Options::Help, "usage: gauge-host COMMAND MODULE ... [--help]\n"},
        {Options::Describe, "usage: gauge-host describe MODULE [--gauge NAME] [--areas OUT.png]\n"},
        {Options::Run, "usage: gauge-host run MODULE SCENARIO [--out DIR] [--scale S] [--light day|night]\n"},
        {Options::Snapshot, "usage: gauge-host snapshot MODULE OUT.png [--click X Y [COUNT]] [--var N VALUE]\n"},
        {Options::Show, "usage: gauge-host show MODULE [--gauge NAME] [--size PIXELS] [--light day|night]\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HelpText(c.command).rfind(c.usage, 0), 0u) << "command " << c.command;
}

// run --help is read off the scenario table: every row, with its arguments.
TEST(CommandLine, RunHelpListsEveryScenarioCommand)
{
    const std::string help = HelpText(Options::Run);
    for (const ScenarioCommandType& type : ScenarioCommandTypes()) {
        const std::string usage = std::string(type.name) + (*type.arguments ? " " : "") + type.arguments;
        EXPECT_NE(help.find("  " + usage + " "), std::string::npos) << usage;
        EXPECT_NE(help.find(type.summary), std::string::npos) << usage;
    }
}

}  // namespace
