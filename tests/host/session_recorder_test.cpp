// Sessions recorded as the live window records them, on the real gauge:
// the scenario each kind of input becomes, and that run replays it with
// every expectation holding.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>

#include <filesystem>
#include <vector>

#include "gauge_host/core/scenario_runner.h"
#include "gauge_host/core/session_recorder.h"
#include "tests/host/host_fixture.h"

namespace {

struct Action {
    enum Kind { Frames, Press, RightPress, Release, Var } kind;
    int a = 0, b = 0;  // frames; or the point
    double value = 0;  // var 558
};

Action Frames(int count) { return {Action::Frames, count}; }
Action Press(int x, int y) { return {Action::Press, x, y}; }
Action RightPress(int x, int y) { return {Action::RightPress, x, y}; }
Action Release() { return {Action::Release}; }
Action Var558(double value) { return {Action::Var, 0, 0, value}; }

struct SessionCase {
    const char* what;
    std::vector<Action> actions;
    const char* inputs;  // the scenario up to its expectations
};

class SessionRecorderTest : public HostTest {
protected:
    // The gauge as after a fresh load, as at the start of a session and of
    // a run.
    void StartFresh()
    {
        YawAmount = 0;
        LastMonitoredValue = 0.0;
        host.reset();
        Start();
    }

    // Does to the host what the window does, telling the recorder.
    std::string Record(const std::vector<Action>& actions)
    {
        StartFresh();
        SessionRecorder recorder;
        for (const Action& a : actions) {
            switch (a.kind) {
            case Action::Frames:
                for (int i = 0; i < a.a; ++i)
                    host->RunFrame();
                break;
            case Action::Press:
            case Action::RightPress: {
                const MouseButton button = a.kind == Action::Press ? MouseButton::Left : MouseButton::Right;
                host->Press(a.a, a.b, button);
                recorder.Press(host->frames(), a.a, a.b, button);
                break;
            }
            case Action::Release:
                host->Release();
                recorder.Release(host->frames());
                break;
            case Action::Var:
                host->variables.Set(558, a.value);
                recorder.SetVariable(host->frames(), 558, a.value);
                break;
            }
        }
        return recorder.Finish(*host, "# header\n");
    }

    // The scenario run on a freshly loaded gauge: its exit status and what it printed.
    int Replay(const std::string& text, std::string* printed)
    {
        StartFresh();
        Scenario scenario;
        std::string error;
        EXPECT_TRUE(ParseScenario(text.data(), text.size(), "recorded.scenario", &scenario, &error)) << error;
        char* out_text = nullptr;
        size_t out_size = 0;
        FILE* out = open_memstream(&out_text, &out_size);
        const std::string folder = std::filesystem::temp_directory_path() / "session_recorder_test";
        const int status = RunScenario(host.get(), scenario, folder, out, out);
        fclose(out);
        printed->assign(out_text, out_size);
        free(out_text);
        std::filesystem::remove_all(folder);
        return status;
    }
};

TEST_F(SessionRecorderTest, InputsBecomeTheScenarioAndReplayHoldsEveryExpectation)
{
    const SessionCase cases[] = {
        {"a click between frames", {Frames(3), Press(450, 300), Release(), Frames(2)},
         "frame 3\nclick 450 300\nframe\n"},
        {"a press held across frames", {Press(450, 300), Frames(18), Release(), Frames(1)},
         "hold 450 300 1.000000\nframe\n"},
        {"a long hold repeats", {Frames(1), Press(150, 300), Frames(40), Release()},
         "frame\nhold 150 300 2.222222\n"},
        {"two clicks in one frame borrow the next", {Press(150, 300), Release(), Press(150, 300), Release(), Frames(1)},
         "click 150 300\nclick 150 300\n"},
        {"a hold after a click in the same frame keeps the clock",
         {Press(150, 300), Release(), Press(450, 300), Frames(3), Release(), Frames(2)},
         "click 150 300\nhold 450 300 0.166667\nframe\n"},
        {"the right button acts at its press", {RightPress(450, 300), Frames(5), Release()},
         "click 450 300 right\nframe 4\n"},
        {"still held as the session ends", {Press(450, 300), Frames(9)}, "hold 450 300 0.500000\n"},
        {"a variable set during a hold follows it",
         {Press(450, 300), Frames(2), Var558(0.3), Frames(2), Release(), Frames(1)},
         "hold 450 300 0.222222\n# set 2 frames into the hold above\nvar 558 0.3\nframe\n"},
        {"the event's road",
         {Var558(0.4), Frames(1), Press(450, 300), Release(), Frames(1), Press(450, 300), Release(), Frames(1),
          Press(450, 300), Release(), Var558(0.45), Frames(2)},
         "var 558 0.4\nframe\nclick 450 300\nclick 450 300\nclick 450 300\nvar 558 0.45\nframe\n"},
    };
    for (const SessionCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = Record(c.actions);
        const std::string header = "# header\n", ending = "\n# as the session ended\n";
        const size_t end = text.find(ending);
        ASSERT_NE(end, std::string::npos) << text;
        EXPECT_EQ(text.substr(header.size(), end - header.size()), c.inputs);
        std::string printed;
        EXPECT_EQ(Replay(text, &printed), ExitOk) << text << printed;
        EXPECT_EQ(printed.find("expected"), std::string::npos) << printed;
    }
}

TEST_F(SessionRecorderTest, EndsWithTheEventsReadoutsAndKnob)
{
    const std::string text =
        Record({Var558(0.4), Frames(1), Press(450, 300), Frames(40), Release(), Var558(0.45), Frames(1)});
    const size_t end = text.find("\n# as the session ended\n");
    ASSERT_NE(end, std::string::npos) << text;
    EXPECT_EQ(text.substr(end), "\n# as the session ended\n"
                                "expect event 0x000100E4 0\n"
                                "expect event 0x000100E4 -1900\n"
                                "expect no-event\n"
                                "expect readout left \"\"\n"
                                "expect readout right \" 11\"\n"
                                "expect knob 11\n");
    std::string printed;
    EXPECT_EQ(Replay(text, &printed), ExitOk) << printed;
    EXPECT_NE(printed.find("recorded.scenario: 6 of 6 expectations held"), std::string::npos) << printed;
}

}  // namespace
