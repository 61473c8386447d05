// The scenario language: every command's good forms, and each kind of
// bad line with the exact error line it gives.
#include <gtest/gtest.h>

#include <string.h>

#include <functional>
#include <string>

#include "host/gauges.h"
#include "gauge_host/core/scenario_parser.h"

namespace {

using Kind = ScenarioCommand::Kind;

bool Parse(const std::string& text, Scenario* scenario, std::string* error)
{
    return ParseScenario(text.data(), text.size(), "t.scenario", scenario, error);
}

struct GoodCase {
    const char* line;
    std::function<void(const ScenarioCommand&)> check;
};

TEST(ScenarioParser, GoodLines)
{
    const GoodCase cases[] = {
        {"var 558 0.45", [](const ScenarioCommand& c) {
             EXPECT_EQ(c.kind, ScenarioCommand::SetVariable);
             EXPECT_EQ(c.number, 558u);
             EXPECT_DOUBLE_EQ(c.value, 0.45);
         }},
        {"var 0x22E -1.5e-1", [](const ScenarioCommand& c) {
             EXPECT_EQ(c.number, 558u);
             EXPECT_DOUBLE_EQ(c.value, -0.15);
         }},
        {"var 0xFFFFFFFF +3", [](const ScenarioCommand& c) {
             EXPECT_EQ(c.number, 0xFFFFFFFFu);
             EXPECT_EQ(c.value, 3.0);
         }},
        {"var 1 0x10", [](const ScenarioCommand& c) { EXPECT_EQ(c.value, 16.0); }},
        {"frame", [](const ScenarioCommand& c) {
             EXPECT_EQ(c.kind, ScenarioCommand::RunFrames);
             EXPECT_EQ(c.count, 1);
         }},
        {"frame 18", [](const ScenarioCommand& c) { EXPECT_EQ(c.count, 18); }},
        {"frame 0x12", [](const ScenarioCommand& c) { EXPECT_EQ(c.count, 18); }},
        {"frame 1000000", [](const ScenarioCommand& c) { EXPECT_EQ(c.count, MaxFrameCount); }},
        {"click 450 300", [](const ScenarioCommand& c) {
             EXPECT_EQ(c.kind, ScenarioCommand::Click);
             EXPECT_EQ(c.x, 450);
             EXPECT_EQ(c.y, 300);
             EXPECT_FALSE(c.right_button);
         }},
        {"click -5 +7 right", [](const ScenarioCommand& c) {
             EXPECT_EQ(c.x, -5);
             EXPECT_EQ(c.y, 7);
             EXPECT_TRUE(c.right_button);
         }},
        {"click 0x12C 0 left", [](const ScenarioCommand& c) {
             EXPECT_EQ(c.x, 300);
             EXPECT_FALSE(c.right_button);
         }},
        {"hold 100 200 1.5", [](const ScenarioCommand& c) {
             EXPECT_EQ(c.kind, ScenarioCommand::Hold);
             EXPECT_EQ(c.x, 100);
             EXPECT_EQ(c.y, 200);
             EXPECT_EQ(c.value, 1.5);
         }},
        {"hold 1 1 3600", [](const ScenarioCommand& c) { EXPECT_EQ(c.value, MaxHoldSeconds); }},
        {"expect event 0x000100E4 -3000", [](const ScenarioCommand& c) {
             EXPECT_EQ(c.kind, ScenarioCommand::ExpectEvent);
             EXPECT_EQ(c.number, 0x000100E4u);
             EXPECT_EQ(c.event_value, -3000);
         }},
        {"expect event 65764 0xFFFFC180", [](const ScenarioCommand& c) {
             EXPECT_EQ(c.number, 0x000100E4u);
             EXPECT_EQ(c.event_value, -16000) << "a 32-bit pattern is the signed value";
         }},
        {"expect event 1 -2147483648", [](const ScenarioCommand& c) { EXPECT_EQ(c.event_value, INT32_MIN); }},
        {"expect event 1 0x7FFFFFFF", [](const ScenarioCommand& c) { EXPECT_EQ(c.event_value, INT32_MAX); }},
        {"expect no-event", [](const ScenarioCommand& c) { EXPECT_EQ(c.kind, ScenarioCommand::ExpectNoEvent); }},
        {"expect readout right \" 18\"", [](const ScenarioCommand& c) {
             EXPECT_EQ(c.kind, ScenarioCommand::ExpectReadout);
             EXPECT_TRUE(c.right_readout);
             EXPECT_EQ(c.text, " 18");
         }},
        {"expect readout 1.10.2 \"7\"", [](const ScenarioCommand& c) {
             EXPECT_EQ(c.place, "1.10.2");
             EXPECT_EQ(c.text, "7");
         }},
        {"expect readout left \"\"", [](const ScenarioCommand& c) {
             EXPECT_FALSE(c.right_readout);
             EXPECT_EQ(c.text, "");
         }},
        {"expect knob -18.5", [](const ScenarioCommand& c) {
             EXPECT_EQ(c.kind, ScenarioCommand::ExpectKnob);
             EXPECT_EQ(c.value, -18.5);
         }},
        {"expect tooltip \"say \\\"trim\\\" \\\\ done # not a comment\"", [](const ScenarioCommand& c) {
             EXPECT_EQ(c.kind, ScenarioCommand::ExpectTooltip);
             EXPECT_EQ(c.text, "say \"trim\" \\ done # not a comment");
         }},
        {"expect tooltip \"a \\n b\"", [](const ScenarioCommand& c) {
             EXPECT_EQ(c.text, "a \\n b") << "other backslashes stay as they are";
         }},
        {"expect cursor 299 0 down", [](const ScenarioCommand& c) {
             EXPECT_EQ(c.kind, ScenarioCommand::ExpectCursor);
             EXPECT_EQ(c.x, 299);
             EXPECT_EQ(c.cursor, CURSOR_DOWN_ARROW);
         }},
        {"expect cursor 300 0 up", [](const ScenarioCommand& c) { EXPECT_EQ(c.cursor, CURSOR_UP_ARROW); }},
        {"expect cursor 700 0 none", [](const ScenarioCommand& c) { EXPECT_EQ(c.cursor, CURSOR_NONE); }},
        {"snapshot shots/a.png", [](const ScenarioCommand& c) {
             EXPECT_EQ(c.kind, ScenarioCommand::Snapshot);
             EXPECT_EQ(c.text, "shots/a.png");
         }},
        {"snapshot \"with space.png\"", [](const ScenarioCommand& c) { EXPECT_EQ(c.text, "with space.png"); }},
        {"expect snapshot refs/zero.png", [](const ScenarioCommand& c) {
             EXPECT_EQ(c.kind, ScenarioCommand::ExpectSnapshot);
             EXPECT_EQ(c.text, "refs/zero.png");
             EXPECT_EQ(c.tolerance, 0);
             EXPECT_EQ(c.allowed_pixels, 0);
         }},
        {"expect snapshot a.png 3", [](const ScenarioCommand& c) {
             EXPECT_EQ(c.tolerance, 3);
             EXPECT_EQ(c.allowed_pixels, 0);
         }},
        {"expect snapshot a.png 255 0x10", [](const ScenarioCommand& c) {
             EXPECT_EQ(c.tolerance, 255);
             EXPECT_EQ(c.allowed_pixels, 16);
         }},
        {"\t click  10\t20   # a comment after the command", [](const ScenarioCommand& c) {
             EXPECT_EQ(c.kind, ScenarioCommand::Click);
             EXPECT_EQ(c.y, 20);
         }},
        {"frame 2#comment straight after", [](const ScenarioCommand& c) { EXPECT_EQ(c.count, 2); }},
        {"expect tooltip\"glued\"", [](const ScenarioCommand& c) { EXPECT_EQ(c.text, "glued"); }},
    };
    for (const GoodCase& c : cases) {
        // A frame first, so a snapshot line has something to write.
        const std::string text = std::string("frame\n") + c.line + "\n";
        Scenario scenario;
        std::string error;
        ASSERT_TRUE(Parse(text, &scenario, &error)) << "case " << c.line << ": " << error;
        ASSERT_EQ(scenario.commands.size(), 2u) << "case " << c.line;
        EXPECT_EQ(scenario.commands[1].line, 2) << "case " << c.line;
        SCOPED_TRACE(std::string("case ") + c.line);
        c.check(scenario.commands[1]);
    }
}

TEST(ScenarioParser, BlankLinesCommentsAndLineEndings)
{
    const std::string text = "# a scenario\r\n\r\n   \nframe 3\r\n\t# indented comment\nvar 1 2";
    Scenario scenario;
    std::string error;
    ASSERT_TRUE(Parse(text, &scenario, &error)) << error;
    EXPECT_EQ(scenario.file, "t.scenario");
    ASSERT_EQ(scenario.commands.size(), 2u);
    EXPECT_EQ(scenario.commands[0].line, 4);
    EXPECT_EQ(scenario.commands[0].count, 3);
    EXPECT_EQ(scenario.commands[1].line, 6) << "the last line needs no newline";
    ASSERT_TRUE(Parse("", &scenario, &error));
    EXPECT_TRUE(scenario.commands.empty());
}

struct BadCase {
    const char* text;
    const char* error;
};

TEST(ScenarioParser, BadLinesGiveTheirExactError)
{
    const BadCase cases[] = {
        {"fly 1 2", "t.scenario:1: unknown command 'fly' (var, frame, click, hold, expect, snapshot)"},
        {"\"frame\"", "t.scenario:1: a line starts with a command, not a quoted text"},
        {"frame\n\nvar 558", "t.scenario:3: usage: var N VALUE"},
        {"var 558 1 2", "t.scenario:1: usage: var N VALUE"},
        {"var x 1", "t.scenario:1: variable 'x' is not a number from 0 to 0xFFFFFFFF"},
        {"var -1 1", "t.scenario:1: variable '-1' is not a number from 0 to 0xFFFFFFFF"},
        {"var 0x100000000 1", "t.scenario:1: variable '0x100000000' is not a number from 0 to 0xFFFFFFFF"},
        {"var 558 0.4.5", "t.scenario:1: value '0.4.5' is not a number"},
        {"var 558 nan", "t.scenario:1: value 'nan' is not a number"},
        {"var 558 1e999", "t.scenario:1: value '1e999' is not a number"},
        {"var 558 0x1p3", "t.scenario:1: value '0x1p3' is not a number"},
        {"var 558 \"1\"", "t.scenario:1: value '1' is not a number"},
        {"frame 1 2", "t.scenario:1: usage: frame [COUNT]"},
        {"frame 0", "t.scenario:1: frame count '0' is not a whole number from 1 to 1000000"},
        {"frame -3", "t.scenario:1: frame count '-3' is not a whole number from 1 to 1000000"},
        {"frame 1000001", "t.scenario:1: frame count '1000001' is not a whole number from 1 to 1000000"},
        {"frame 99999999999999999999", "t.scenario:1: frame count '99999999999999999999' is not a whole number "
                                       "from 1 to 1000000"},
        {"frame 2.5", "t.scenario:1: frame count '2.5' is not a whole number from 1 to 1000000"},
        {"frame 0x", "t.scenario:1: frame count '0x' is not a whole number from 1 to 1000000"},
        {"frame -", "t.scenario:1: frame count '-' is not a whole number from 1 to 1000000"},
        {"click 10", "t.scenario:1: usage: click X Y [left|right]"},
        {"click 10 20 left 5", "t.scenario:1: usage: click X Y [left|right]"},
        {"click 10 2O", "t.scenario:1: point '10 2O' is not two whole numbers of face pixels"},
        {"click 1.5 2", "t.scenario:1: point '1.5 2' is not two whole numbers of face pixels"},
        {"click 100001 2", "t.scenario:1: point '100001 2' is not two whole numbers of face pixels"},
        {"click 10 20 middle", "t.scenario:1: 'middle' should be left or right"},
        {"click 10 20 \"left\"", "t.scenario:1: \"left\" should be left or right"},
        {"hold 10 20", "t.scenario:1: usage: hold X Y SECONDS"},
        {"hold 10 20 0", "t.scenario:1: hold time '0' is not a number of seconds above 0, at most 3600"},
        {"hold 10 20 -1", "t.scenario:1: hold time '-1' is not a number of seconds above 0, at most 3600"},
        {"hold 10 20 3600.5", "t.scenario:1: hold time '3600.5' is not a number of seconds above 0, at most 3600"},
        {"hold 10 20 1e300", "t.scenario:1: hold time '1e300' is not a number of seconds above 0, at most 3600"},
        {"hold 10 20 soon", "t.scenario:1: hold time 'soon' is not a number of seconds above 0, at most 3600"},
        {"expect", "t.scenario:1: usage: expect event|no-event|readout|knob|tooltip|cursor|snapshot ..."},
        {"expect weather", "t.scenario:1: unknown expectation 'weather' (event, no-event, readout, knob, tooltip, "
                           "cursor, snapshot)"},
        {"expect event 0x000100E4", "t.scenario:1: usage: expect event EVENT VALUE"},
        {"expect event 1 2 3", "t.scenario:1: usage: expect event EVENT VALUE"},
        {"expect event -1 0", "t.scenario:1: event '-1' is not a number from 0 to 0xFFFFFFFF"},
        {"expect event 1 0x100000000", "t.scenario:1: event value '0x100000000' is not a 32-bit number"},
        {"expect event 1 -2147483649", "t.scenario:1: event value '-2147483649' is not a 32-bit number"},
        {"expect event 1 1.5", "t.scenario:1: event value '1.5' is not a 32-bit number"},
        {"expect no-event 0", "t.scenario:1: usage: expect no-event"},
        {"expect readout right", "t.scenario:1: usage: expect readout left|right|PLACE \"TEXT\""},
        {"expect readout 0.1 \"1\"", "t.scenario:1: '0.1' should be left or right"},
        {"expect readout 1. \"1\"", "t.scenario:1: '1.' should be left or right"},
        {"expect readout \"1.1\" \"1\"", "t.scenario:1: \"1.1\" should be left or right"},
        {"expect readout centre \"1\"", "t.scenario:1: 'centre' should be left or right"},
        {"expect readout right 18", "t.scenario:1: the readout's text must be in double quotes, as in \"18\""},
        {"expect readout right \" 18", "t.scenario:1: text has no closing quote"},
        {"expect readout right \" 18\\\"", "t.scenario:1: text has no closing quote"},
        {"expect knob", "t.scenario:1: usage: expect knob DEGREES"},
        {"expect knob ten", "t.scenario:1: knob value 'ten' is not a number"},
        {"expect tooltip", "t.scenario:1: usage: expect tooltip \"TEXT\""},
        {"expect tooltip \"a\" \"b\"", "t.scenario:1: usage: expect tooltip \"TEXT\""},
        {"expect tooltip Torque", "t.scenario:1: the tooltip must be in double quotes, as in \"Torque\""},
        {"expect cursor 1 1", "t.scenario:1: usage: expect cursor X Y up|down|none"},
        {"expect cursor 1 1 sideways", "t.scenario:1: cursor 'sideways' should be up, down or none"},
        {"expect cursor 1 1 \"up\"", "t.scenario:1: cursor \"up\" should be up, down or none"},
        {"expect \"no-event\"", "t.scenario:1: unknown expectation \"no-event\" (event, no-event, readout, knob, "
                                "tooltip, cursor, snapshot)"},
        {"expect cursor x 1 up", "t.scenario:1: point 'x 1' is not two whole numbers of face pixels"},
        {"frame\nsnapshot", "t.scenario:2: usage: snapshot FILE.png"},
        {"frame\nsnapshot a.bmp", "t.scenario:2: snapshot file 'a.bmp' should end in .png"},
        {"frame\nsnapshot .png", "t.scenario:2: snapshot file '.png' should end in .png"},
        {"var 1 1\nsnapshot a.png", "t.scenario:2: snapshot before any frame was drawn (run 'frame' first)"},
        {"frame\nexpect snapshot", "t.scenario:2: usage: expect snapshot FILE.png [TOLERANCE [PIXELS]]"},
        {"frame\nexpect snapshot a.png 1 2 3", "t.scenario:2: usage: expect snapshot FILE.png [TOLERANCE [PIXELS]]"},
        {"frame\nexpect snapshot a.bmp", "t.scenario:2: snapshot file 'a.bmp' should end in .png"},
        {"frame\nexpect snapshot a.png 256", "t.scenario:2: tolerance '256' is not a whole number from 0 to 255"},
        {"frame\nexpect snapshot a.png -1", "t.scenario:2: tolerance '-1' is not a whole number from 0 to 255"},
        {"frame\nexpect snapshot a.png 1.5", "t.scenario:2: tolerance '1.5' is not a whole number from 0 to 255"},
        {"frame\nexpect snapshot a.png 0 many", "t.scenario:2: pixel count 'many' is not a whole number from 0 up"},
        {"frame\nexpect snapshot a.png 0 -4", "t.scenario:2: pixel count '-4' is not a whole number from 0 up"},
        {"expect snapshot a.png", "t.scenario:1: snapshot before any frame was drawn (run 'frame' first)"},
        {"frame\nframe oops\nfly", "t.scenario:2: frame count 'oops' is not a whole number from 1 to 1000000"},
    };
    for (const BadCase& c : cases) {
        Scenario scenario;
        std::string error;
        EXPECT_FALSE(Parse(c.text, &scenario, &error)) << "case " << c.text;
        EXPECT_EQ(error, c.error) << "case " << c.text;
    }
}

TEST(ScenarioParser, NulByteIsNotText)
{
    const char text[] = "frame\nfr\0me\n";
    Scenario scenario;
    std::string error;
    EXPECT_FALSE(ParseScenario(text, sizeof text - 1, "t.scenario", &scenario, &error));
    EXPECT_EQ(error, "t.scenario:2: a NUL byte: this is not a text file");
}

TEST(ScenarioParser, QuotedTextReadsBack)
{
    for (const std::string text : {"", " 18", "say \"trim\"", "back\\slash \\\"", "# not a comment"}) {
        Scenario scenario;
        std::string error;
        ASSERT_TRUE(Parse("expect tooltip " + QuoteScenarioText(text), &scenario, &error)) << text << ": " << error;
        EXPECT_EQ(scenario.commands[0].text, text);
    }
}

}  // namespace
