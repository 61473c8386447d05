// Every call the panel host makes into a module passes through the module
// gate under a name, and the host's own code inside a service is marked as
// such; the preview runs no code of the module at all. The gate here
// records and calls nothing, so the gauge's routines never reach the
// services: a test that needs a started gauge starts it before the gate
// goes in, and calls the services itself.
#include <string>
#include <vector>

#include "gauge_host/core/module_calls.h"
#include "tests/host/host_fixture.h"

namespace {

class RecordingGate : public ModuleGate {
public:
    std::vector<std::string> calls;
    int host_depth = 0, host_entries = 0;

    uintptr_t CallWord(const char* name, const void*, const uintptr_t*, int) override
    {
        calls.push_back(name);
        return 0;
    }
    double CallDouble(const char* name, const void*, const uintptr_t*, int) override
    {
        calls.push_back(name);
        return 0.0;
    }
    uint32_t EnterHost() override
    {
        ++host_entries;
        return uint32_t(++host_depth);
    }
    void LeaveHost(uint32_t saved) override
    {
        EXPECT_EQ(saved, uint32_t(host_depth)) << "host code left out of turn";
        --host_depth;
    }
};

class ModuleCallsTest : public HostTest {
protected:
    RecordingGate gate;

    void TearDown() override
    {
        host.reset();
        SetModuleGate(nullptr);
        HostTest::TearDown();
    }
    ELEMENT_HEADER* Root() { return static_cast<ELEMENT_HEADER*>(module.records.gauges[0].elements[0].live); }
};

TEST_F(ModuleCallsTest, EveryRoutineAndMouseFunctionPassesTheGate)
{
    SetModuleGate(&gate);
    PanelHost unstarted(module.records.gauges[0], module.bitmaps, View{});
    std::string error;
    // The install routine never reaches the service here, so the host
    // refuses to start: the calls are made all the same.
    EXPECT_FALSE(unstarted.Start(nullptr, &error));
    EXPECT_EQ(gate.calls, (std::vector<std::string>{"query routine", "install routine", "initialize routine",
                                                    "generate routine"}));
    SetModuleGate(nullptr);
    Start();
    SetModuleGate(&gate);
    gate.calls.clear();
    host->RunFrame();
    host->Press(450, 300, MouseButton::Left);
    host->Stop();
    EXPECT_EQ(gate.calls,
              (std::vector<std::string>{"update routine", "draw routine", "mouse function", "kill routine"}));
    EXPECT_EQ(gate.host_entries, 0) << "no service was called";
}

TEST_F(ModuleCallsTest, CallbacksPassTheGateFromInsideAServiceRunAsHostCode)
{
    Start();
    SetModuleGate(&gate);
    PanelServiceTable()->update(Root());
    EXPECT_EQ(gate.calls, (std::vector<std::string>{"string callback", "string callback", "needle callback"}));
    EXPECT_EQ(gate.host_entries, 1);
    EXPECT_EQ(gate.host_depth, 0);
}

TEST_F(ModuleCallsTest, PreviewRunsNoCodeOfTheModule)
{
    SetModuleGate(&gate);
    host = std::make_unique<PanelHost>(module.records.gauges[0], module.bitmaps, View{});
    std::string error;
    ASSERT_TRUE(host->Preview(nullptr, &error)) << error;
    EXPECT_TRUE(gate.calls.empty()) << gate.calls.front();
    ASSERT_TRUE(host->has_frame());
    EXPECT_EQ(host->frame().width, 600);
    EXPECT_EQ(host->frame().height, 600);
}

}  // namespace
