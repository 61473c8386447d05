// The seven routines hand each call to its element-list service, once, with
// the root element and their argument unchanged.
#include "tests/gauge/gauge_fixture.h"

#include <string>

namespace {

struct ServiceCall {
    std::string service;
    ELEMENT_HEADER* root;
    uintptr_t argument;
    bool operator==(const ServiceCall&) const = default;
};
std::vector<ServiceCall> Calls;

void GAUGE_CALL Query(ELEMENT_HEADER* root) { Calls.push_back({"query", root, 0}); }
void GAUGE_CALL Install(ELEMENT_HEADER* root, void* resource) { Calls.push_back({"install", root, (uintptr_t)resource}); }
void GAUGE_CALL Initialize(ELEMENT_HEADER* root) { Calls.push_back({"initialize", root, 0}); }
void GAUGE_CALL Update(ELEMENT_HEADER* root) { Calls.push_back({"update", root, 0}); }
void GAUGE_CALL Generate(ELEMENT_HEADER* root, uint32_t phase) { Calls.push_back({"generate", root, phase}); }
void GAUGE_CALL Draw(ELEMENT_HEADER* root) { Calls.push_back({"draw", root, 0}); }
void GAUGE_CALL Kill(ELEMENT_HEADER* root) { Calls.push_back({"kill", root, 0}); }

}  // namespace

class GaugeRoutines : public GaugeTest {
protected:
    void SetUp() override
    {
        GaugeTest::SetUp();
        Calls.clear();
        for (void*& slot : services.slots_0_23)
            slot = reinterpret_cast<void*>(0x1);  // a call through these would crash
        services.query = Query;
        services.install = Install;
        services.initialize = Initialize;
        services.update = ::Update;
        services.generate = Generate;
        services.draw = Draw;
        services.slot_30 = reinterpret_cast<void*>(0x1);
        services.kill = Kill;
    }
};

TEST_F(GaugeRoutines, EachForwardsOnceWithTheRoot)
{
    ELEMENT_HEADER* root = &FaceBackground.header;
    void* resource = reinterpret_cast<void*>(0xCAFE0000);
    struct Case {
        const char* routine;
        void (*call)(void* resource);
        ServiceCall expected;
    } cases[] = {
        {"query", [](void*) { GaugeHeader.query(); }, {"query", root, 0}},
        {"install", [](void* r) { GaugeHeader.install(r); }, {"install", root, 0xCAFE0000}},
        {"initialize", [](void*) { GaugeHeader.initialize(); }, {"initialize", root, 0}},
        {"update", [](void*) { GaugeHeader.update(); }, {"update", root, 0}},
        {"generate", [](void*) { GaugeHeader.generate(0xFFFFFFFF); }, {"generate", root, 0xFFFFFFFF}},
        {"generate", [](void*) { GaugeHeader.generate(7); }, {"generate", root, 7}},
        {"draw", [](void*) { GaugeHeader.draw(); }, {"draw", root, 0}},
        {"kill", [](void*) { GaugeHeader.kill(); }, {"kill", root, 0}},
    };
    for (const Case& c : cases) {
        Calls.clear();
        c.call(resource);
        EXPECT_EQ(Calls, std::vector<ServiceCall>{c.expected}) << c.routine;
    }
}

TEST_F(GaugeRoutines, DoNothingBeforeTheHostStoredItsTable)
{
    ImportTable.panels.address = nullptr;
    GaugeHeader.query();
    GaugeHeader.install(nullptr);
    GaugeHeader.initialize();
    GaugeHeader.update();
    GaugeHeader.generate(1);
    GaugeHeader.draw();
    GaugeHeader.kill();
    EXPECT_TRUE(Calls.empty());
}

TEST_F(GaugeRoutines, ModuleInitAndDeinitDoNothing)
{
    Linkage.module_init();
    Linkage.module_deinit();
    EXPECT_TRUE(Calls.empty());
    EXPECT_EQ(YawAmount, 0);
    EXPECT_EQ(LastMonitoredValue, 0.0);
}
