// Scenarios played on the real gauge through the panel host: what a run
// prints, its exit status, events.csv, and where snapshots land.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/file_bytes.h"
#include "common/png_reader.h"
#include "common/png_writer.h"
#include "face/face.h"
#include "tests/host/host_fixture.h"
#include "gauge_host/command/command_line.h"
#include "gauge_host/core/scenario_runner.h"

namespace {

struct RunResult {
    int status = -1;
    std::string out, err;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class RunnerTest : public HostTest {
protected:
    std::string out_dir;

    void SetUp() override
    {
        HostTest::SetUp();
        // A folder of its own, so runs in other build folders cannot touch it.
        char folder[] = "/tmp/host_runner_XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        out_dir = folder;
        Start();
    }

    void TearDown() override { std::filesystem::remove_all(out_dir); }

    RunResult Run(const std::string& text, const std::string& file = "t.scenario", const RunOptions& options = {})
    {
        RunResult result;
        Scenario scenario;
        std::string error;
        EXPECT_TRUE(ParseScenario(text.data(), text.size(), file, &scenario, &error)) << error;
        char *out_text = nullptr, *err_text = nullptr;
        size_t out_size = 0, err_size = 0;
        FILE* out = open_memstream(&out_text, &out_size);
        FILE* err = open_memstream(&err_text, &err_size);
        result.status = RunScenario(host.get(), scenario, out_dir, out, err, options);
        fclose(out);
        fclose(err);
        result.out.assign(out_text, out_size);
        result.err.assign(err_text, err_size);
        free(out_text);
        free(err_text);
        return result;
    }

    std::string Events() const { return ReadFile(out_dir + "/events.csv"); }
};

std::string Repeated(const std::string& line, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += line;
    return text;
}

// One event's road: 558 from 0.40 to 0.45 with the amount at 3000 sends
// 0x000100E4 -3000 and the right readout shows " 18". The very first
// update compares with 0.0, so 0.40 at amount 0 already sends a 0.
TEST_F(RunnerTest, EventsOfVariable558AndHeldExpectations)
{
    const std::string text = "var 558 0.40\n"
                             "frame\n" +
                             Repeated("click 450 300\n", 30) +
                             "var 558 0.45\n"
                             "frame\n"
                             "var 558 0.453       # within the threshold: nothing\n"
                             "frame\n"
                             "var 558 0.40\n"
                             "frame\n"
                             "expect event 0x000100E4 0\n"
                             "expect event 0x000100E4 0xFFFFF448\n"
                             "expect event 65764 3000\n"
                             "expect no-event\n"
                             "expect readout right \" 18\"\n"
                             "expect readout left \"\"\n"
                             "expect knob 18\n"
                             "expect tooltip \"Torque Induced Yaw, click left or right half to trim\"\n"
                             "expect cursor 300 0 up\n"
                             "expect cursor 299 599 down\n";
    const RunResult r = Run(text);
    EXPECT_EQ(r.status, ExitOk);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(Events(), "frame,time_s,event,value\n"
                        "1,0.056,0x000100E4,0\n"
                        "32,1.778,0x000100E4,-3000\n"
                        "34,1.889,0x000100E4,3000\n");
    EXPECT_NE(r.out.find("frame    32     1.778 s  event 0x000100E4 -3000\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("t.scenario: 10 of 10 expectations held; 34 frames, 3 key events, 0 snapshots; events in " +
                         out_dir + "/events.csv\n"),
              std::string::npos)
        << r.out;
}

TEST_F(RunnerTest, UnsetVariablesReadZero)
{
    const RunResult r = Run("frame 5\nexpect no-event\n");
    EXPECT_EQ(r.status, ExitOk) << r.err;
    for (const ELEMENT_STRING* readout : {&RightReadout, &LeftReadout})
        for (double value : readout->source_values)
            EXPECT_EQ(value, 0.0);
    host->variables.Set(786, 1.5);
    host->RunFrame();
    EXPECT_EQ(RightReadout.source_values[0], 1.5);
    EXPECT_EQ(RightReadout.source_values[2], 0.0) << "421 still unset";
    EXPECT_EQ(host->variables.Get(421), 0.0);
}

TEST_F(RunnerTest, FailedExpectationsPrintExpectedAndGot)
{
    const std::string text = "frame\n"                              // 1
                             "expect event 0x000100E4 0\n"          // 2
                             "click 450 300\n"                      // 3
                             "expect readout right \" 18\"\n"       // 4
                             "expect readout left \"  1\"\n"        // 5
                             "expect knob 1\n"                      // 6
                             "expect tooltip \"Yaw\"\n"             // 7
                             "expect cursor 150 300 up\n"           // 8
                             "var 558 0.5\n"                        // 9
                             "frame\n"                              // 10
                             "var 558 0\n"                          // 11
                             "frame\n"                              // 12
                             "expect event 0x000100E4 5\n"          // 13
                             "expect no-event\n"                    // 14
                             "expect knob 0\n";                     // 15
    const RunResult r = Run(text);
    EXPECT_EQ(r.status, ExitFailed);
    EXPECT_EQ(r.err, "t.scenario:2: expected event 0x000100E4 0, got no event\n"
                     "t.scenario:4: expected right readout \" 18\", got \"  0\"\n"
                     "t.scenario:5: expected left readout \"  1\", got \"\"\n"
                     "t.scenario:6: expected knob 1, got 0\n"
                     "t.scenario:7: expected tooltip \"Yaw\", got \"Torque Induced Yaw, click left or right half to "
                     "trim\"\n"
                     "t.scenario:8: expected cursor up at (150, 300), got down\n"
                     "t.scenario:13: expected event 0x000100E4 5, got event 0x000100E4 -100 at frame 3\n"
                     "t.scenario:14: expected no event, got event 0x000100E4 100 at frame 4 (and 0 more)\n");
    EXPECT_NE(r.out.find("t.scenario: 1 of 9 expectations held; 4 frames, 2 key events"), std::string::npos) << r.out;
    EXPECT_EQ(Events(), "frame,time_s,event,value\n3,0.167,0x000100E4,-100\n4,0.222,0x000100E4,100\n")
        << "a failed run still writes its events";
}

// The press calls once, then from 0.5 s on 10 times a second, as the help
// tells; a hold of S seconds runs S * 18 frames.
TEST_F(RunnerTest, HoldRepeatsAtTheRateTheHelpPrints)
{
    EXPECT_NE(HelpText(Options::Run).find("at the press, then after 0.5 s\n10 times a second; frames run at 18 a "
                                          "second"),
              std::string::npos);
    const RunResult r = Run("hold 450 300 1\n"          // 18 frames: the press and 6 repeats
                            "expect knob 4\n"
                            "expect readout right \"  4\"\n"
                            "hold 150 300 0.5\n"        // 9 frames: the press and one repeat at 0.5 s
                            "expect knob 3\n"
                            "hold 150 300 0.45\n"       // 8 frames: the press alone
                            "expect knob 2\n");
    EXPECT_EQ(r.status, ExitOk) << r.err;
    EXPECT_EQ(host->frames(), 18 + 9 + 8);
    EXPECT_EQ(YawAmount, 400);
}

// TIY's tree: the face 1, the right readout 1.1 under it, the left 1.1.1,
// the knob 1.1.1.1. A place names the readout as left and right do.
TEST_F(RunnerTest, ReadoutsByTreePlace)
{
    const RunResult r = Run("hold 450 300 3.2\n"
                            "expect readout 1.1 \" 18\"\n"
                            "expect readout right \" 18\"\n"
                            "expect readout 1.1.1 \"\"\n"
                            "expect readout 1.1 \"  1\"\n");
    EXPECT_EQ(r.status, ExitFailed);
    EXPECT_EQ(r.err, "t.scenario:5: expected 1.1 readout \"  1\", got \" 18\"\n");
    for (const char* place : {"1", "1.1.1.1", "2", "1.2"}) {
        const RunResult bad = Run(std::string("frame\nexpect readout ") + place + " \"\"\n");
        EXPECT_EQ(bad.status, ExitBadInput) << place;
        EXPECT_EQ(bad.err, std::string("t.scenario:2: 'expect readout ") + place + "': no string element at " + place +
                               " in the tree\n")
            << place;
    }
}

TEST_F(RunnerTest, SnapshotPathsAreTakenFromTheOutFolder)
{
    const std::string absolute = out_dir + "/elsewhere/b.png";
    const RunResult r = Run("frame\nsnapshot shots/a.png\nsnapshot " + absolute + "\n");
    EXPECT_EQ(r.status, ExitOk) << r.err;
    for (const std::string& path : {out_dir + "/shots/a.png", absolute}) {
        EXPECT_EQ(ReadFile(path).substr(0, 4), "\x89PNG") << path;
        EXPECT_NE(r.out.find("wrote " + path + "\n"), std::string::npos) << r.out;
    }
    EXPECT_NE(r.out.find("2 snapshots"), std::string::npos) << r.out;
}

// Checked before anything runs: nothing of the scenario is played.
TEST_F(RunnerTest, PressesOffTheFaceAreRefused)
{
    const struct {
        const char* line;
        const char* error;
    } cases[] = {
        {"click 600 300", "t.scenario:2: point (600, 300) is off the 600 x 600 face: a click there would reach nothing\n"},
        {"click 300 600 right",
         "t.scenario:2: point (300, 600) is off the 600 x 600 face: a click there would reach nothing\n"},
        {"hold -1 0 1", "t.scenario:2: point (-1, 0) is off the 600 x 600 face: a hold there would reach nothing\n"},
    };
    for (const auto& c : cases) {
        const RunResult r = Run(std::string("frame\n") + c.line + "\nexpect knob 0\n");
        EXPECT_EQ(r.status, ExitBadInput) << "case " << c.line;
        EXPECT_EQ(r.err, c.error) << "case " << c.line;
        EXPECT_EQ(host->frames(), 0) << "case " << c.line;
    }
    const RunResult edge = Run("click 599 599\nhold 0 0 0.1\nexpect knob 0\n");
    EXPECT_EQ(edge.status, ExitOk) << edge.err;
}

TEST_F(RunnerTest, UnwritableOutFolderIsBadInput)
{
    std::filesystem::remove(out_dir);
    std::ofstream(out_dir) << "a file where the folder should be";
    const RunResult r = Run("frame\n");
    EXPECT_EQ(r.status, ExitBadInput);
    EXPECT_EQ(r.err.rfind("t.scenario: cannot create folder " + out_dir + ": ", 0), 0u) << r.err;
}

// References live beside the scenario; --update-snapshots writes them, a
// differing frame fails with where and how much, and its actual and diff
// pictures in the out folder.
TEST_F(RunnerTest, SnapshotsAgainstReferencesBesideTheScenario)
{
    const std::string folder = out_dir + "/scenarios", file = folder + "/s.scenario";
    const std::string reference = folder + "/refs/zero.png";
    const std::string text = "frame\nexpect snapshot refs/zero.png\n";

    RunResult r = Run(text, file);
    EXPECT_EQ(r.status, ExitBadInput);
    EXPECT_EQ(r.err, file + ":2: cannot read reference " + reference + " (run --update-snapshots writes it)\n");

    RunOptions update;
    update.update_snapshots = true;
    r = Run(text, file, update);
    EXPECT_EQ(r.status, ExitOk) << r.err;
    EXPECT_NE(r.out.find("wrote " + reference + "\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(file + ": 1 references written\n"), std::string::npos) << r.out;

    r = Run(text, file);
    EXPECT_EQ(r.status, ExitOk) << r.err;
    EXPECT_NE(r.out.find(file + ": 1 of 1 expectations held"), std::string::npos) << r.out;

    // Three clicks turn the knob and write " 1" in the right readout.
    r = Run("click 450 300\nclick 450 300\nclick 450 300\nframe\nexpect snapshot refs/zero.png\n", file);
    EXPECT_EQ(r.status, ExitFailed);
    const std::string start = file + ":5: snapshot differs from " + reference + ": ";
    ASSERT_EQ(r.err.rfind(start, 0), 0u) << r.err;
    long long over = 0;
    int x0, x1, y0, y1, largest;
    ASSERT_EQ(sscanf(r.err.c_str() + start.size(), "%lld pixels over tolerance in %d..%d, %d..%d, largest difference %d",
                     &over, &x0, &x1, &y0, &y1, &largest),
              6)
        << r.err;
    EXPECT_GT(over, 0);
    EXPECT_LE(x0, x1);
    EXPECT_LT(x1, 600);
    EXPECT_LE(largest, 255);

    // The diff marks exactly the pixels counted, all inside the box.
    DecodedPng diff, actual;
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(ReadFileBytes(out_dir + "/zero.diff.png", &bytes));
    ASSERT_TRUE(DecodePng(bytes, &diff, &error)) << error;
    ASSERT_TRUE(ReadFileBytes(out_dir + "/zero.actual.png", &bytes));
    ASSERT_TRUE(DecodePng(bytes, &actual, &error)) << error;
    EXPECT_EQ(actual.rgb, host->frame().rgb);
    long long red = 0;
    for (int y = 0; y < diff.height; ++y)
        for (int x = 0; x < diff.width; ++x) {
            const uint8_t* p = &diff.rgb[(size_t(y) * diff.width + x) * 3];
            if (p[0] == 255 && p[1] == 0 && p[2] == 0) {
                ++red;
                EXPECT_TRUE(x >= x0 && x <= x1 && y >= y0 && y <= y1) << x << ", " << y;
            }
        }
    EXPECT_EQ(red, over);

    // The same frame passes with that many pixels allowed, or at the largest
    // difference as the tolerance, and not with one pixel fewer.
    const std::string again = "frame\nexpect snapshot refs/zero.png ";
    EXPECT_EQ(Run(again + "0 " + std::to_string(over) + "\n", file).status, ExitOk);
    EXPECT_EQ(Run(again + std::to_string(largest) + "\n", file).status, ExitOk);
    EXPECT_EQ(Run(again + "0 " + std::to_string(over - 1) + "\n", file).status, ExitFailed);
}

TEST_F(RunnerTest, ReferencesThatCannotBeComparedAreBadInput)
{
    const std::string folder = out_dir + "/scenarios", file = folder + "/s.scenario";
    std::filesystem::create_directories(folder);
    std::string error;
    const uint8_t pixels[2 * 2 * 3] = {};
    ASSERT_TRUE(WritePng((folder + "/small.png").c_str(), 2, 2, pixels, 6, &error)) << error;
    std::ofstream(folder + "/text.png") << "not a picture";
    const struct {
        const char* name;
        std::string error;
    } cases[] = {
        {"small.png", "reference " + folder + "/small.png is 2 x 2, the frame 600 x 600 (another --scale?)"},
        {"text.png", "reference " + folder + "/text.png is not a PNG this host reads: no PNG signature"},
    };
    for (const auto& c : cases) {
        const RunResult r = Run(std::string("frame\nexpect snapshot ") + c.name + "\nexpect knob 5\n", file);
        EXPECT_EQ(r.status, ExitBadInput) << c.name;
        EXPECT_EQ(r.err, file + ":2: " + c.error + "\n") << c.name;
    }
}

}  // namespace
