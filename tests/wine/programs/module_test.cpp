// ZARO.gau loaded by the Windows loader and driven as a panel system drives
// it: every routine through a recording service table, clicks through the
// mouse areas, callbacks through the element records, then unload and load
// again. Usage: module_test.exe PATH\TO\ZARO.gau
#include <windows.h>

#include <string.h>

#include <string>
#include <vector>

#include "common/file_bytes.h"
#include "tests/wine/wine_test.h"
#include "gauge_host/windows/module_loader.h"

namespace {

constexpr uint32_t YawEvent = 0x000100E4;

struct Call {
    int slot;
    ELEMENT_HEADER* root;
    uintptr_t argument;
};
std::vector<Call> Calls;
std::vector<std::pair<uint32_t, int32_t>> KeyEvents;
int UntypedCalls;

void GAUGE_CALL Query(ELEMENT_HEADER* root) { Calls.push_back({24, root, 0}); }
void GAUGE_CALL Install(ELEMENT_HEADER* root, void* resource) { Calls.push_back({25, root, (uintptr_t)resource}); }
void GAUGE_CALL Initialize(ELEMENT_HEADER* root) { Calls.push_back({26, root, 0}); }
void GAUGE_CALL Update(ELEMENT_HEADER* root) { Calls.push_back({27, root, 0}); }
void GAUGE_CALL Generate(ELEMENT_HEADER* root, uint32_t phase) { Calls.push_back({28, root, phase}); }
void GAUGE_CALL Draw(ELEMENT_HEADER* root) { Calls.push_back({29, root, 0}); }
void GAUGE_CALL Kill(ELEMENT_HEADER* root) { Calls.push_back({31, root, 0}); }
void GAUGE_CALL TriggerKeyEvent(uint32_t event, int32_t value) { KeyEvents.push_back({event, value}); }
// Every slot the module must not call: a call is counted, and the count
// must stay 0.
void __cdecl Untyped() { ++UntypedCalls; }

HostPanelService RecordingServices()
{
    HostPanelService services{};
    for (void*& slot : services.slots_0_23)
        slot = (void*)Untyped;
    for (void*& slot : services.slots_32_35)
        slot = (void*)Untyped;
    services.slot_30 = (void*)Untyped;
    services.query = Query;
    services.install = Install;
    services.initialize = Initialize;
    services.update = Update;
    services.generate = Generate;
    services.draw = Draw;
    services.kill = Kill;
    services.trigger_key_event = TriggerKeyEvent;
    return services;
}

// The host's working fields, kept as a host keeps them.
struct Face {
    ELEMENT_HEADER* root;
    ELEMENT_STRING* right;
    ELEMENT_STRING* left;
    ELEMENT_NEEDLE* knob;
    char right_text[8], left_text[8];

    void Update(double monitored)
    {
        right->source_values[1] = monitored;
        right->text = right_text;
        left->text = left_text;
        right->callback(right);
        left->callback(left);
    }
};

Face WalkFace(GAUGEHDR* gauge)
{
    Face face{};
    face.root = gauge->element_list[0];
    ELEMENT_HEADER* chain[4] = {face.root};
    for (int i = 1; i < 4; ++i)
        chain[i] = chain[i - 1]->next ? chain[i - 1]->next[0] : nullptr;
    face.right = (ELEMENT_STRING*)chain[1];
    face.left = (ELEMENT_STRING*)chain[2];
    face.knob = (ELEMENT_NEEDLE*)chain[3];
    return face;
}

// The first child area holding the point. Far edges count as inside, so
// the two 299 x 599 halves cover the 600 x 600 face without a gap.
MOUSERECT* ChildAt(GAUGEHDR* gauge, int x, int y)
{
    for (MOUSERECT* area = gauge->mouse_areas; area->type != MOUSE_END; ++area)
        if (area->type == MOUSE_CHILD && x >= area->x && x <= area->x + area->width &&
            y >= area->y && y <= area->y + area->height)
            return area;
    return nullptr;
}

int Click(GAUGEHDR* gauge, int x, int y, uint32_t button)
{
    MOUSERECT* area = ChildAt(gauge, x, y);
    if (!area || !(area->flags & button))
        return 0;
    PIXPOINT point{x, y};
    return area->action.function(&point, button);
}

void CheckRoutines(GAUGEHDR* gauge, ELEMENT_HEADER* root)
{
    struct Case {
        const char* routine;
        int slot;
        uintptr_t argument;
    } cases[] = {
        {"query", 24, 0}, {"install", 25, 0x00400000}, {"initialize", 26, 0},
        {"update", 27, 0}, {"generate", 28, 0xDEADBEEF}, {"draw", 29, 0}, {"kill", 31, 0},
    };
    for (const Case& c : cases) {
        Calls.clear();
        switch (c.slot) {
        case 24: gauge->query(); break;
        case 25: gauge->install((void*)c.argument); break;
        case 26: gauge->initialize(); break;
        case 27: gauge->update(); break;
        case 28: gauge->generate((uint32_t)c.argument); break;
        case 29: gauge->draw(); break;
        case 31: gauge->kill(); break;
        }
        ok(Calls.size() == 1, "%s: %u service calls, expected 1\n", c.routine, (unsigned)Calls.size());
        if (Calls.size() != 1)
            continue;
        ok(Calls[0].slot == c.slot, "%s reached slot %d, expected %d\n", c.routine, Calls[0].slot, c.slot);
        ok(Calls[0].root == root, "%s passed %p, expected the root %p\n", c.routine, (void*)Calls[0].root, (void*)root);
        ok(Calls[0].argument == c.argument, "%s passed %#x, expected %#x\n", c.routine,
           (unsigned)Calls[0].argument, (unsigned)c.argument);
    }
    ok(UntypedCalls == 0, "%d calls of untyped slots (slot 30 among them)\n", UntypedCalls);
}

void CheckFreshState(Face& face, const char* when)
{
    ok(face.knob->callback(face.knob) == 0.0, "%s: knob not at 0\n", when);
    KeyEvents.clear();
    face.Update(0.005);  // equal to the threshold from 0.0: no event
    ok(KeyEvents.empty(), "%s: %u events for 0.0 -> 0.005\n", when, (unsigned)KeyEvents.size());
    ok(face.right_text[0] == 0 && face.left_text[0] == 0, "%s: readouts \"%s\" \"%s\", expected blank\n",
       when, face.right_text, face.left_text);
}

void CheckBehaviour(GAUGEHDR* gauge, Face& face)
{
    // Clicks: the left half turns left, the right half right, the right button nothing.
    struct ClickCase {
        int x, y;
        uint32_t button;
        int returned;
        const char* left;
        const char* right;
    } clicks[] = {
        {150, 300, MOUSE_LEFT_SINGLE, 1, "  0", ""},
        {450, 300, MOUSE_LEFT_SINGLE, 1, "", ""},
        {450, 300, MOUSE_LEFT_SINGLE, 1, "", "  0"},
        {150, 300, MOUSE_RIGHT_SINGLE, 0, "", "  0"},
        {450, 300, MOUSE_RIGHT_SINGLE, 0, "", "  0"},
        {299, 300, MOUSE_LEFT_SINGLE, 1, "", ""},
        {300, 300, MOUSE_LEFT_SINGLE, 1, "", "  0"},
    };
    for (const ClickCase& c : clicks) {
        int returned = Click(gauge, c.x, c.y, c.button);
        face.Update(0.0);
        ok(returned == c.returned, "click (%d, %d) %#x returned %d\n", c.x, c.y, (unsigned)c.button, returned);
        ok(!strcmp(face.left_text, c.left) && !strcmp(face.right_text, c.right),
           "after click (%d, %d): readouts \"%s\" \"%s\", expected \"%s\" \"%s\"\n", c.x, c.y,
           face.left_text, face.right_text, c.left, c.right);
    }

    // From 100 to full right, and one more click that does nothing.
    for (int i = 0; i < 160; ++i)
        Click(gauge, 450, 300, MOUSE_LEFT_SINGLE);
    face.Update(0.0);
    ok(face.knob->callback(face.knob) == 100.0, "knob at full right: %g\n", face.knob->callback(face.knob));
    ok(!strcmp(face.right_text, "100"), "right readout at full right \"%s\"\n", face.right_text);

    // The road of one event: 30 steps right, 558 from 0.40 to 0.45.
    for (int i = 0; i < 130; ++i)
        Click(gauge, 150, 300, MOUSE_LEFT_SINGLE);
    face.Update(0.40);
    KeyEvents.clear();
    face.Update(0.45);
    ok(KeyEvents.size() == 1 && KeyEvents[0].first == YawEvent && KeyEvents[0].second == -3000,
       "road of one event: %u events, first %#x %d\n", (unsigned)KeyEvents.size(),
       KeyEvents.empty() ? 0u : (unsigned)KeyEvents[0].first, KeyEvents.empty() ? 0 : KeyEvents[0].second);
    ok(!strcmp(face.right_text, " 18"), "right readout \"%s\", expected \" 18\"\n", face.right_text);

    // Full left: a fall sends the plain amount, a rise its negation.
    for (int i = 0; i < 300; ++i)
        Click(gauge, 10, 10, MOUSE_LEFT_SINGLE);
    KeyEvents.clear();
    face.Update(0.0);
    ok(KeyEvents.size() == 1 && KeyEvents[0].second == -16000, "fall at full left sent %d\n",
       KeyEvents.empty() ? 0 : KeyEvents[0].second);
    KeyEvents.clear();
    face.Update(1.0);
    ok(KeyEvents.size() == 1 && (uint32_t)KeyEvents[0].second == 0x00003E80u,
       "rise at full left sent %#x\n", KeyEvents.empty() ? 0u : (unsigned)KeyEvents[0].second);
    ok(!strcmp(face.left_text, "100"), "left readout at full left \"%s\"\n", face.left_text);
}

// The base the module's PE header asks for, read from the file.
uintptr_t PreferredBase(const char* path)
{
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, &bytes) || bytes.size() < sizeof(IMAGE_DOS_HEADER))
        return 0;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
    if (size_t(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32) > bytes.size())
        return 0;
    return reinterpret_cast<const IMAGE_NT_HEADERS32*>(bytes.data() + dos->e_lfanew)->OptionalHeader.ImageBase;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool base_taken = argc == 3 && !strcmp(argv[2], "--base-taken");
    if (argc != 2 && !base_taken) {
        printf("usage: module_test PATH\\TO\\ZARO.gau [--base-taken]\n"
               "  --base-taken  reserve the module's preferred base first, so it is relocated\n");
        return 2;
    }
    const uintptr_t preferred = PreferredBase(argv[1]);
    if (base_taken)
        ok(preferred && VirtualAlloc(reinterpret_cast<void*>(preferred), 0x10000, MEM_RESERVE, PAGE_NOACCESS),
           "cannot reserve the preferred base %#lx (error %lu)\n", (unsigned long)preferred,
           (unsigned long)GetLastError());
    HostPanelService services = RecordingServices();
    for (int load = 1; load <= 2; ++load) {
        LoadedModule module;
        std::string error;
        if (!ok(LoadGaugeModule(argv[1], "TIY", &services, &module, &error), "load %d: %s\n", load,
                error.c_str()))
            break;
        GAUGEHDR* gauge = module.gauge;
        const bool relocated = uintptr_t(module.library) != preferred;
        ok(relocated == base_taken, "load %d: at %p, preferred base %#lx\n", load, (void*)module.library,
           (unsigned long)preferred);
        ok(module.imports->panels.address == &services, "service table not stored\n");
        ok(module.linkage->gauges[0] == gauge && module.linkage->gauges[1] == nullptr,
           "Linkage should list exactly gauge TIY\n");
        ok(gauge->header_version == 800, "header version %u\n", (unsigned)gauge->header_version);
        Face face = WalkFace(gauge);
        ok(face.root->kind == ELEMENT_TYPE_STATIC_IMAGE && face.root->bitmap == 4357,
           "root is not the face bitmap\n");
        ok(face.knob && face.knob->header.next == nullptr && face.knob->header.bitmap == 4358,
           "the chain should end at the knob\n");

        CheckFreshState(face, load == 1 ? "first load" : "second load");
        CheckRoutines(gauge, face.root);
        if (load == 1)
            CheckBehaviour(gauge, face);
        UnloadGaugeModule(&module);
        ok(GetModuleHandleA(argv[1]) == nullptr, "load %d: the module is still mapped after FreeLibrary\n", load);
    }
    return wine_test_summary("module_test");
}
