// A one-gauge module, "FIX", with a 2 x 2 face and one click area, built
// once sound and once for each FAULT_* macro with that one fault, so every
// variant in gauge-host's bad-module table differs from a module that
// loads and draws by its fault alone.
#include "host/gauges.h"

#if defined(FAULT_LOAD_MARKER)
#include <windows.h>

// Code that runs at load: it leaves a file behind, so a host that says it
// runs none of a module's code can be caught running this.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH) {
        HANDLE file = CreateFileA("load-marker.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written;
            WriteFile(file, "loaded\n", 7, &written, nullptr);
            CloseHandle(file);
        }
    }
    return TRUE;
}
#endif

#if defined(FAULT_NO_IMPORT_TABLE)
#define IMPORT_TABLE_EXPORT
#else
#define IMPORT_TABLE_EXPORT __declspec(dllexport)
#endif
#if defined(FAULT_NO_LINKAGE)
#define LINKAGE_EXPORT
#else
#define LINKAGE_EXPORT __declspec(dllexport)
#endif
#if defined(FAULT_WRONG_VERSION)
constexpr uint32_t Version = 0x0800;
#else
constexpr uint32_t Version = MODULE_VERSION;
#endif

constexpr int32_t FaceBitmap = 4357;  // the face in fixture.rc
constexpr int32_t FaceSide = 2;

extern GAUGEHDR Gauge;
extern ELEMENT_STATIC_IMAGE Face, Mark;

extern "C" {
IMPORT_TABLE_EXPORT constinit GAUGESIMPORT ImportTable = {{IMPORT_PANELS, nullptr}, {0, nullptr}};
LINKAGE_EXPORT constinit GAUGESLINKAGE Linkage = {MODULE_IDENTIFIER, nullptr, nullptr, 0, 0, Version, {&Gauge, nullptr}};
}

// ---- Elements: the face, and a mark drawn over it.

static ELEMENT_HEADER* FaceNext[] = {&Mark.header, nullptr};
#if defined(FAULT_LOOP)
static ELEMENT_HEADER* MarkNext[] = {&Face.header, nullptr};  // back to the face: a loop
#else
constexpr ELEMENT_HEADER** MarkNext = nullptr;
#endif
#if defined(FAULT_NULL_ROOT)
static ELEMENT_HEADER* Roots[] = {nullptr, &Face.header, nullptr};
#else
static ELEMENT_HEADER* Roots[] = {&Face.header, nullptr};
#endif

constexpr ELEMENT_HEADER Image(int32_t bitmap, ELEMENT_HEADER** next)
{
    return {ELEMENT_TYPE_STATIC_IMAGE, bitmap, {0, 0}, {0, 0}, {0, 0}, &Gauge, nullptr, next, nullptr, 0, 0, 0};
}
constinit ELEMENT_STATIC_IMAGE Face = {Image(FaceBitmap, FaceNext)};
constinit ELEMENT_STATIC_IMAGE Mark = {Image(BITMAP_NONE, MarkNext)};

// ---- Mouse areas: the whole face one child.

constexpr MOUSERECT Area(uint32_t type, int32_t side)
{
    return {type, 0, 0, side, side, CURSOR_UP_ARROW, 0, MOUSE_LEFT_SINGLE, 0, {nullptr}, nullptr};
}
#if defined(FAULT_MOUSE_NO_END)
// Children on and on: more entries than any host reads before giving up.
constexpr int AreaCount = 300;
struct EndlessAreas {
    MOUSERECT entries[AreaCount];
};
constexpr EndlessAreas MakeEndlessAreas()
{
    EndlessAreas areas{};
    areas.entries[0] = Area(MOUSE_PARENT, 0);
    for (int i = 1; i < AreaCount; ++i)
        areas.entries[i] = Area(MOUSE_CHILD, FaceSide - 1);
    return areas;
}
constinit EndlessAreas Endless = MakeEndlessAreas();
constexpr MOUSERECT* MouseAreas = Endless.entries;
#else
constinit MOUSERECT MouseAreas[] = {
    Area(MOUSE_PARENT, 0),
    Area(MOUSE_CHILD, FaceSide - 1),
#if !defined(FAULT_PARENT_NOT_CLOSED)
    Area(MOUSE_PARENT_END, 0),
#endif
    Area(MOUSE_END, 0),
};
#endif

// ---- The gauge: each routine hands its call to the host's service.

static HostPanelService* Services() { return static_cast<HostPanelService*>(ImportTable.panels.address); }
static void GAUGE_CALL Install(void* resource) { Services()->install(Roots[0], resource); }
static void GAUGE_CALL Initialize(void) { Services()->initialize(Roots[0]); }
#if defined(FAULT_CRASH)
static int* volatile Nowhere = nullptr;
static void GAUGE_CALL Update(void) { *Nowhere = 1; }  // an access violation in the module's own code
#elif defined(FAULT_UNOFFERED_SLOT)
// A service of the table that this host does not offer, called standard-call
// with one argument.
using UntypedService = void(GAUGE_CALL*)(ELEMENT_HEADER*);
static void GAUGE_CALL Update(void) { reinterpret_cast<UntypedService>(Services()->slot_30)(Roots[0]); }
#elif defined(FAULT_HANG)
// Never returns: a gauge under development with an endless loop.
static volatile int Spin;
static void GAUGE_CALL Update(void)
{
    for (;;)
        Spin = 1;
}
#elif defined(FAULT_STACK_PROBE)
// Sends the stack pointer's remainder mod 16 at its entry as key event
// StackProbeEvent, so a test sees the alignment the host enters with.
constexpr uint32_t StackProbeEvent = 0x00011000;
extern "C" uintptr_t EntryStack;
constinit uintptr_t EntryStack = 0;
extern "C" void GAUGE_CALL ProbedUpdate(void)
{
    Services()->trigger_key_event(StackProbeEvent, int32_t(EntryStack % 16));
    Services()->update(Roots[0]);
}
extern "C" void GAUGE_CALL Update(void);
asm(".globl _Update@0\n"
    "_Update@0:\n"
    "    movl %esp, _EntryStack\n"
    "    jmp _ProbedUpdate@0\n");
#else
static void GAUGE_CALL Update(void) { Services()->update(Roots[0]); }
#endif
static void GAUGE_CALL Draw(void) { Services()->draw(Roots[0]); }
static void GAUGE_CALL Kill(void) { Services()->kill(Roots[0]); }

constinit GAUGEHDR Gauge = {GAUGE_HEADER_VERSION, "FIX", Roots, nullptr, Install, Initialize, Update, nullptr, Draw,
                            Kill, 10, 10, MouseAreas, nullptr, nullptr, nullptr, nullptr};
