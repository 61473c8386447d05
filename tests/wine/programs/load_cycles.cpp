// A thousand loads of one module in one process: load, run a few frames,
// kill, free; before them one load and unload with nothing run at all. Every load must start from a zero setting and a 0.0
// reference, and the process's handles and memory must not grow.
// Usage: load_cycles.exe PATH\TO\ZARO.gau [CYCLES]
#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include "tests/wine/wine_test.h"
#include "gauge_host/windows/module_loader.h"

namespace {

int Events;
int32_t LastValue;
void GAUGE_CALL CountKeyEvent(uint32_t, int32_t value) { ++Events, LastValue = value; }
void GAUGE_CALL IgnoreElements(ELEMENT_HEADER*) {}

// Measured with calls every Windows implements fully (Wine included): a
// leaked handle pushes up the value of the next new handle, and leaked
// memory shows as committed address space.
struct Usage {
    uintptr_t next_handle;
    SIZE_T committed_bytes;
};

Usage ProcessUsage()
{
    Usage usage{};
    HANDLE probe = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    usage.next_handle = (uintptr_t)probe;
    CloseHandle(probe);
    MEMORY_BASIC_INFORMATION region;
    for (char* address = nullptr; VirtualQuery(address, &region, sizeof region) == sizeof region;
         address = (char*)region.BaseAddress + region.RegionSize) {
        if (region.State == MEM_COMMIT)
            usage.committed_bytes += region.RegionSize;
        if ((char*)region.BaseAddress + region.RegionSize < address)
            break;  // wrapped around the top of the address space
    }
    return usage;
}

// One cycle; returns false (after reporting) when a load did not start fresh.
bool Cycle(const char* path, HostPanelService* services, int cycle)
{
    LoadedModule module;
    std::string error;
    if (!ok(LoadGaugeModule(path, "TIY", services, &module, &error), "cycle %d: %s\n", cycle, error.c_str()))
        return false;
    GAUGEHDR* gauge = module.gauge;
    ELEMENT_HEADER* root = gauge->element_list[0];
    auto* right = (ELEMENT_STRING*)root->next[0];
    auto* knob = (ELEMENT_NEEDLE*)((ELEMENT_HEADER*)right->header.next[0])->next[0];
    char text[8];
    right->text = text;

    gauge->initialize();
    bool fresh = knob->callback(knob) == 0.0;
    Events = 0;
    right->source_values[1] = 0.005;  // equal to the threshold from 0.0: no event
    right->callback(right);
    fresh = fresh && Events == 0 && text[0] == 0;
    ok(fresh, "cycle %d: the load did not start from 0 and 0.0\n", cycle);

    // A few frames that leave state behind for the next load to forget.
    MOUSERECT* right_half = &gauge->mouse_areas[3];
    PIXPOINT point{450, 300};
    for (int frame = 0; frame < 5; ++frame) {
        right_half->action.function(&point, MOUSE_LEFT_SINGLE);
        right->source_values[1] = 0.1 * (frame + 1);
        gauge->update();
        right->callback(right);
        gauge->draw();
    }
    ok(Events == 5 && LastValue == -500, "cycle %d: %d events, last %d\n", cycle, Events, LastValue);
    gauge->kill();
    right->text = nullptr;
    UnloadGaugeModule(&module);
    return fresh;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        printf("usage: load_cycles PATH\\TO\\ZARO.gau [CYCLES]\n");
        return 2;
    }
    int cycles = argc > 2 ? atoi(argv[2]) : 1000;
    HostPanelService services{};
    services.initialize = services.update = services.draw = services.kill = IgnoreElements;
    services.trigger_key_event = CountKeyEvent;

    // Loaded and unloaded with nothing run in between: the next load must
    // still start from 0 and 0.0, which the first cycle checks.
    LoadedModule idle;
    std::string error;
    if (ok(LoadGaugeModule(argv[1], "TIY", &services, &idle, &error), "idle load: %s\n", error.c_str()))
        UnloadGaugeModule(&idle);

    // The first cycles settle the loader's caches; growth is measured after.
    constexpr int Warmup = 10;
    Usage start{};
    int cycle = 1;
    for (; cycle <= cycles && Cycle(argv[1], &services, cycle); ++cycle)
        if (cycle == Warmup)
            start = ProcessUsage();
    Usage end = ProcessUsage();

    ok(cycle > cycles, "stopped at cycle %d of %d\n", cycle, cycles);
    ok(start.next_handle != 0 && end.next_handle <= start.next_handle,
       "handles grew: the next new handle moved from %#lx to %#lx\n", (unsigned long)start.next_handle,
       (unsigned long)end.next_handle);
    // The heap may round up once; a leak of even a few bytes a cycle would not fit.
    ok(start.committed_bytes != 0 && end.committed_bytes <= start.committed_bytes + 65536,
       "committed memory grew from %lu to %lu bytes\n", (unsigned long)start.committed_bytes,
       (unsigned long)end.committed_bytes);
    printf("load_cycles: %d cycles; next handle %#lx -> %#lx; committed bytes %lu -> %lu\n", cycle - 1,
           (unsigned long)start.next_handle, (unsigned long)end.next_handle,
           (unsigned long)start.committed_bytes, (unsigned long)end.committed_bytes);
    return wine_test_summary("load_cycles");
}
