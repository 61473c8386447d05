// gauges.h: the panel system's interface as a gauge module sees it.
//
// One declaration for the module, the substitute host and the tests. On
// 32-bit x86 Windows every field is 32 bits (addresses included) except the
// 64-bit float source values, and every function that crosses the boundary
// is stdcall. A native build uses the same records with native pointers, so
// the logic can be unit-tested without Windows.
#pragma once

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32) && defined(__i386__)
#define GAUGE_CALL __stdcall
#else
#define GAUGE_CALL
#endif

struct GAUGEHDR;
struct ELEMENT_HEADER;
struct ELEMENT_STRING;
struct ELEMENT_NEEDLE;

// ---- Service table ---------------------------------------------------------

typedef void(GAUGE_CALL* ElementListService)(ELEMENT_HEADER* root);
typedef void(GAUGE_CALL* ElementListInstallService)(ELEMENT_HEADER* root, void* resource);
typedef void(GAUGE_CALL* ElementListGenerateService)(ELEMENT_HEADER* root, uint32_t phase);
typedef void(GAUGE_CALL* KeyEventService)(uint32_t event, int32_t value);

// Only the slots a gauge calls are typed; the others are the host's business.
struct HostPanelService {
    void* slots_0_23[24];
    ElementListService query;             // 24
    ElementListInstallService install;    // 25
    ElementListService initialize;        // 26
    ElementListService update;            // 27
    ElementListGenerateService generate;  // 28
    ElementListService draw;              // 29
    void* slot_30;                        // never called by a gauge
    ElementListService kill;              // 31
    void* slots_32_35[4];
    KeyEventService trigger_key_event;    // 36
};

// ---- Module records --------------------------------------------------------

enum : uint32_t {
    IMPORT_PANELS = 0x0000000F,  // ImportTable entry the host fills with its service table
    MODULE_IDENTIFIER = 0x00000013,
    MODULE_VERSION = 0x0900,
    GAUGE_HEADER_VERSION = 800,
};

struct ImportEntry {
    uint32_t identifier;
    void* address;
};

// A list of entries ending with a pair of zeros.
struct GAUGESIMPORT {
    ImportEntry panels;
    ImportEntry end;
};

typedef void(GAUGE_CALL* ModuleRoutine)(void);

struct GAUGESLINKAGE {
    uint32_t module_identifier;
    ModuleRoutine module_init;
    ModuleRoutine module_deinit;
    uint32_t module_flags;
    uint32_t module_priority;
    uint32_t module_version;
    GAUGEHDR* gauges[2];  // zero-terminated; held inside the record
};

typedef void(GAUGE_CALL* GaugeRoutine)(void);
typedef void(GAUGE_CALL* GaugeInstallRoutine)(void* resource);
typedef void(GAUGE_CALL* GaugeGenerateRoutine)(uint32_t phase);

struct MOUSERECT;

// Our layout after the first three fields: the seven routines in the order
// the services are numbered, then size, mouse areas and the unused tail.
struct GAUGEHDR {
    uint32_t header_version;
    const char* gauge_name;
    ELEMENT_HEADER** element_list;  // zero-terminated
    GaugeRoutine query;
    GaugeInstallRoutine install;
    GaugeRoutine initialize;
    GaugeRoutine update;
    GaugeGenerateRoutine generate;
    GaugeRoutine draw;
    GaugeRoutine kill;
    uint32_t default_width;  // millimetres
    uint32_t default_height;
    MOUSERECT* mouse_areas;
    void* gauge_callback;
    void* user_data;
    const char* parameters;
    const char* usage;
};

// ---- Elements --------------------------------------------------------------

struct PIXPOINT {
    int32_t x, y;
};

enum : uint32_t {
    ELEMENT_TYPE_STATIC_IMAGE = 0,
    ELEMENT_TYPE_NEEDLE = 1,
    ELEMENT_TYPE_STRING = 2,
};

enum : uint32_t {
    IMAGE_USE_TRANSPARENCY = 1 << 0,  // pure black is not drawn
    IMAGE_USE_ERASE = 1 << 1,         // restore what lay beneath before redrawing
    IMAGE_USE_BRIGHT = 1 << 2,        // full brightness whatever the panel lighting
};

enum : int32_t { BITMAP_NONE = -1 };
enum : uint32_t { VARIABLE_NONE = 0xFFFFFFFF };

struct ELEMENT_HEADER {
    uint32_t kind;
    int32_t bitmap;  // resource number or BITMAP_NONE
    PIXPOINT position;
    PIXPOINT previous_position;
    PIXPOINT offset;
    GAUGEHDR* gauge;
    ELEMENT_HEADER* previous;
    ELEMENT_HEADER** next;  // zero-terminated, or zero
    void* failures;
    uint32_t image_flags;
    uint32_t special_flags;
    uint32_t reserved;
};

struct ELEMENT_STATIC_IMAGE {
    ELEMENT_HEADER header;
};

enum : uint32_t {
    TEXT_CENTRE = 0x01,
    TEXT_VERTICAL_CENTRE = 0x04,
    TEXT_SINGLE_LINE = 0x20,
};

enum { STRING_SOURCES = 3 };

typedef double(GAUGE_CALL* StringCallback)(ELEMENT_STRING* element);

// Our layout after the header. The source values and the text buffer link
// are the host's working fields; the module only reads and writes them in
// the element's own callback.
struct ELEMENT_STRING {
    ELEMENT_HEADER header;
    uint32_t source_variables[STRING_SOURCES];
    double source_values[STRING_SOURCES];
    StringCallback callback;
    char* text;
    int32_t box_width, box_height;
    uint32_t max_chars;
    uint32_t text_colour;  // 0x00BBGGRR
    uint32_t background_colour;
    uint32_t highlight_colour;
    const char* font_face;
    int32_t font_weight;
    uint32_t charset;
    uint32_t format_flags;
    void* highlights;
};

struct NeedleAngle {
    double value;
    double degrees;
};

typedef double(GAUGE_CALL* NeedleCallback)(ELEMENT_NEEDLE* element);

// Our layout after the header. Without an angle table the callback's value
// is the angle in degrees, clockwise.
struct ELEMENT_NEEDLE {
    ELEMENT_HEADER header;
    uint32_t source_variable;
    double source_value;  // host's working field
    NeedleCallback callback;
    const NeedleAngle* angle_table;
    uint32_t angle_count;
    uint32_t turn_rate_limit;  // 0: no limit
};

// ---- Mouse areas -----------------------------------------------------------

enum : uint32_t {
    MOUSE_END = 0,
    MOUSE_PARENT = 1,
    MOUSE_CHILD = 2,
    MOUSE_PARENT_END = 3,
    MOUSE_USER = 4,  // tooltip text of the enclosing parent
};

enum : int32_t {
    CURSOR_NONE = -1,
    CURSOR_UP_ARROW = 1,
    CURSOR_DOWN_ARROW = 2,
};

enum : uint32_t {
    MOUSE_RIGHT_SINGLE = 0x80000000,
    MOUSE_LEFT_SINGLE = 0x20000000,
    MOUSE_REPEAT = 0x00200000,  // call again while the button is held
};

typedef int32_t(GAUGE_CALL* MouseFunction)(const PIXPOINT* point, uint32_t flags);

// The function field holds the tooltip text in a MOUSE_USER entry.
union MouseAction {
    MouseFunction function;
    const char* tooltip;
};

struct MOUSERECT {
    uint32_t type;
    int32_t x, y, width, height;
    int32_t cursor;
    uint32_t help_id;
    uint32_t flags;
    uint32_t event_id;
    MouseAction action;
    void* extra;
};

// ---- Layout checks ---------------------------------------------------------

static_assert(offsetof(HostPanelService, query) == 24 * sizeof(void*));
static_assert(offsetof(HostPanelService, kill) == 31 * sizeof(void*));
static_assert(offsetof(HostPanelService, trigger_key_event) == 36 * sizeof(void*));
static_assert(sizeof(HostPanelService) >= 37 * sizeof(void*));

#if defined(__i386__)
static_assert(sizeof(void*) == 4 && sizeof(MouseAction) == 4);
static_assert(sizeof(ImportEntry) == 8 && sizeof(GAUGESIMPORT) == 16);
static_assert(offsetof(GAUGESLINKAGE, module_version) == 20);
static_assert(offsetof(GAUGESLINKAGE, gauges) == 24 && sizeof(GAUGESLINKAGE) == 32);
static_assert(offsetof(GAUGEHDR, element_list) == 8 && offsetof(GAUGEHDR, query) == 12);
static_assert(offsetof(GAUGEHDR, mouse_areas) == 48 && sizeof(GAUGEHDR) == 68);
static_assert(sizeof(ELEMENT_HEADER) == 15 * 4);
static_assert(offsetof(ELEMENT_HEADER, bitmap) == 4);
static_assert(offsetof(ELEMENT_HEADER, position) == 8);
static_assert(offsetof(ELEMENT_HEADER, previous_position) == 16);
static_assert(offsetof(ELEMENT_HEADER, offset) == 24);
static_assert(offsetof(ELEMENT_HEADER, gauge) == 32);
static_assert(offsetof(ELEMENT_HEADER, previous) == 36);
static_assert(offsetof(ELEMENT_HEADER, next) == 40);
static_assert(offsetof(ELEMENT_HEADER, failures) == 44);
static_assert(offsetof(ELEMENT_HEADER, image_flags) == 48);
static_assert(offsetof(ELEMENT_HEADER, special_flags) == 52);
static_assert(offsetof(ELEMENT_HEADER, reserved) == 56);
static_assert(offsetof(ELEMENT_STRING, source_values) == 72);
static_assert(offsetof(ELEMENT_NEEDLE, source_value) == 64);
static_assert(sizeof(MOUSERECT) == 11 * 4);
static_assert(offsetof(MOUSERECT, cursor) == 20 && offsetof(MOUSERECT, flags) == 28);
static_assert(offsetof(MOUSERECT, action) == 36 && offsetof(MOUSERECT, extra) == 40);
#endif
