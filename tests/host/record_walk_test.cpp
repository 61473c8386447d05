// The records walk on the gauge's real records and on malformed modules
// built from words: each fault gives exactly one error line.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/common/module_image.h"
#include "gauge_host/native/native_module.h"

namespace {

const std::string Gauge = "gauge \"TIY\": ";

std::string Hex(uintptr_t address) { return HexAddress(address); }

template <class T>
uintptr_t Addr(T* pointer)
{
    return reinterpret_cast<uintptr_t>(pointer);
}

struct WalkCase {
    const char* name;
    std::function<void(ModuleImage&)> break_it;
    std::function<std::string(ModuleImage&)> error;
};

TEST(RecordWalk, MalformedModulesGiveOneErrorLine)
{
    const WalkCase cases[] = {
        {"wrong module identifier",
         [](ModuleImage& m) { m.At<GAUGESLINKAGE>(m.linkage)->module_identifier = 0x12; },
         [](ModuleImage&) { return std::string("Linkage module identifier 0x0012, expected 0x0013"); }},
        {"wrong module version", [](ModuleImage& m) { m.At<GAUGESLINKAGE>(m.linkage)->module_version = 0x0800; },
         [](ModuleImage&) { return std::string("module version 0x0800, expected 0x0900"); }},
        {"linkage outside the image", [](ModuleImage& m) { m.linkage = ImageBase + m.bytes.size(); },
         [](ModuleImage& m) {
             return "Linkage at " + Hex(m.linkage) + " lies outside the module or is misaligned";
         }},
        {"init routine outside the image",
         [](ModuleImage& m) { m.At<GAUGESLINKAGE>(m.linkage)->module_init = reinterpret_cast<ModuleRoutine>(0x40); },
         [](ModuleImage&) { return std::string("Linkage names an init or deinit routine outside the module"); }},
        {"no panel import entry", [](ModuleImage& m) { m.At<GAUGESIMPORT>(m.import_table)->panels.identifier = 5; },
         [](ModuleImage&) {
             return std::string("ImportTable has no panel service entry (identifier 0x000F)");
         }},
        {"no gauge listed", [](ModuleImage& m) { m.At<GAUGESLINKAGE>(m.linkage)->gauges[0] = nullptr; },
         [](ModuleImage&) { return std::string("Linkage lists no gauge"); }},
        {"null element list",
         [](ModuleImage& m) { m.At<GAUGEHDR>(m.header)->element_list = nullptr; },
         [](ModuleImage&) { return Gauge + "null element list: the gauge has no root element"; }},
        {"null root", [](ModuleImage& m) { m.At<uintptr_t>(m.root_list)[0] = 0; },
         [](ModuleImage&) { return Gauge + "null root: the element list's first entry is zero"; }},
        {"chain that loops back to the root",
         [](ModuleImage& m) { m.At<ELEMENT_HEADER>(m.knob)->next = reinterpret_cast<ELEMENT_HEADER**>(m.root_list); },
         [](ModuleImage& m) {
             return Gauge + "element " + Hex(m.face) + " is reached again from element " + Hex(m.knob) +
                    ": the element chain loops";
         }},
        {"element outside the image",
         [](ModuleImage& m) { m.At<uintptr_t>(m.next[2])[0] = ImageBase + m.bytes.size() + 64; },
         [](ModuleImage& m) {
             return Gauge + "element " + Hex(ImageBase + m.bytes.size() + 64) +
                    " lies outside the module or is misaligned";
         }},
        {"element straddling the image's end",
         [](ModuleImage& m) { m.At<uintptr_t>(m.next[2])[0] = ImageBase + m.bytes.size() - 16; },
         [](ModuleImage& m) {
             return Gauge + "element " + Hex(ImageBase + m.bytes.size() - 16) +
                    " lies outside the module or is misaligned";
         }},
        {"next list running past the image",
         [](ModuleImage& m) {
             const uintptr_t last = ImageBase + m.bytes.size() - sizeof(uintptr_t);
             *m.At<uintptr_t>(last) = m.knob;  // no zero entry before the end
             m.At<ELEMENT_HEADER>(m.left)->next = reinterpret_cast<ELEMENT_HEADER**>(last);
         },
         [](ModuleImage& m) {
             return Gauge + "next list of element " + Hex(m.left) + " at " +
                    Hex(ImageBase + m.bytes.size() - sizeof(uintptr_t)) +
                    " runs outside the module before its zero entry";
         }},
        {"unknown element kind", [](ModuleImage& m) { m.At<ELEMENT_HEADER>(m.right)->kind = 7; },
         [](ModuleImage& m) {
             return Gauge + "element " + Hex(m.right) + ": unknown element kind 7 (0 static image, 1 needle, 2 string)";
         }},
        {"position beyond the coordinate bound",
         [](ModuleImage& m) { m.At<ELEMENT_HEADER>(m.face)->position.x = MaxCoordinate + 1; },
         [](ModuleImage& m) { return Gauge + "element " + Hex(m.face) + ": position or offset beyond +-100000"; }},
        {"string callback outside the image",
         [](ModuleImage& m) { m.At<ELEMENT_STRING>(m.left)->callback = reinterpret_cast<StringCallback>(0x10); },
         [](ModuleImage& m) {
             return Gauge + "element " + Hex(m.left) + ": callback " + Hex(0x10) + " is outside the module";
         }},
        {"string longer than the host's buffer",
         [](ModuleImage& m) { m.At<ELEMENT_STRING>(m.right)->max_chars = 256; },
         [](ModuleImage& m) {
             return Gauge + "element " + Hex(m.right) + ": longest text of 256 characters; at most 255";
         }},
        {"font face without its zero",
         [](ModuleImage& m) {
             const uintptr_t tail = ImageBase + m.bytes.size() - 4;
             memset(m.At<char>(tail), 'Q', 4);
             m.At<ELEMENT_STRING>(m.right)->font_face = reinterpret_cast<const char*>(tail);
         },
         [](ModuleImage& m) {
             return Gauge + "element " + Hex(m.right) + ": font face at " + Hex(ImageBase + m.bytes.size() - 4) +
                    " runs outside the module";
         }},
        {"needle angle table of one entry",
         [](ModuleImage& m) {
             auto* knob = m.At<ELEMENT_NEEDLE>(m.knob);
             knob->angle_table = reinterpret_cast<const NeedleAngle*>(m.code);
             knob->angle_count = 1;
         },
         [](ModuleImage& m) { return Gauge + "element " + Hex(m.knob) + ": angle table of 1 entries; 2 to 256"; }},
        {"mouse list without an end entry",
         [](ModuleImage& m) {
             // The first four entries moved to the image's very end: no end entry follows.
             const uintptr_t moved = ImageBase + m.bytes.size() - 4 * sizeof(MOUSERECT);
             memcpy(m.At<MOUSERECT>(moved), m.At<MOUSERECT>(m.areas), 4 * sizeof(MOUSERECT));
             m.At<GAUGEHDR>(m.header)->mouse_areas = reinterpret_cast<MOUSERECT*>(moved);
         },
         [](ModuleImage& m) {
             return Gauge + "mouse area entry 5 at " + Hex(ImageBase + m.bytes.size()) +
                    " runs outside the module: the mouse list has no end entry";
         }},
        {"mouse list ending inside its parent", [](ModuleImage& m) { m.At<MOUSERECT>(m.areas)[4].type = MOUSE_END; },
         [](ModuleImage&) { return Gauge + "mouse list ends with the parent of entry 1 still open"; }},
        {"child outside any parent", [](ModuleImage& m) { m.At<MOUSERECT>(m.areas)[0].type = MOUSE_CHILD; },
         [](ModuleImage&) { return Gauge + "mouse area entry 1: child outside any parent"; }},
        {"unknown mouse entry type", [](ModuleImage& m) { m.At<MOUSERECT>(m.areas)[2].type = 9; },
         [](ModuleImage&) { return Gauge + "mouse area entry 3: unknown entry type 9"; }},
        {"negative mouse box", [](ModuleImage& m) { m.At<MOUSERECT>(m.areas)[3].width = -1; },
         [](ModuleImage&) { return Gauge + "mouse area entry 4: box 300, 0, -1 x 599 is not a box"; }},
        {"mouse function outside the image",
         [](ModuleImage& m) { m.At<MOUSERECT>(m.areas)[2].action.function = reinterpret_cast<MouseFunction>(0x20); },
         [](ModuleImage&) {
             return Gauge + "mouse area entry 3: function " + Hex(0x20) + " is outside the module";
         }},
    };
    for (const WalkCase& c : cases) {
        ModuleImage image;
        BuildModuleImage(&image);
        c.break_it(image);
        ModuleRecords records;
        std::string error;
        EXPECT_FALSE(WalkModule(image.Span(), image.import_table, image.linkage, &records, &error))
            << "case " << c.name;
        EXPECT_EQ(error, c.error(image)) << "case " << c.name;
        EXPECT_EQ(error.find('\n'), std::string::npos) << "case " << c.name << ": one line";
    }
}

// 257 distinct elements: the knob's next list starts a chain of plain
// images, each listing the next.
TEST(RecordWalk, ChainPastMaxElementsIsRefused)
{
    ModuleImage image(64 * 1024);
    BuildModuleImage(&image);
    ELEMENT_STATIC_IMAGE plain = FaceBackground;
    plain.header.bitmap = BITMAP_NONE;
    plain.header.next = nullptr;
    ELEMENT_HEADER* previous = &image.At<ELEMENT_NEEDLE>(image.knob)->header;
    for (int i = 4; i <= MaxElements; ++i) {
        uintptr_t element, list;
        ELEMENT_STATIC_IMAGE* placed = image.Place(plain, &element);
        const uintptr_t entries[2] = {element, 0};
        image.Place(entries, 2, &list);
        previous->next = reinterpret_cast<ELEMENT_HEADER**>(list);
        previous = &placed->header;
    }
    ModuleRecords records;
    std::string error;
    EXPECT_FALSE(WalkModule(image.Span(), image.import_table, image.linkage, &records, &error));
    EXPECT_EQ(error, Gauge + "more than 256 elements");

    // One fewer is still a module.
    ModuleImage fits(64 * 1024);
    BuildModuleImage(&fits);
    previous = &fits.At<ELEMENT_NEEDLE>(fits.knob)->header;
    for (int i = 4; i < MaxElements; ++i) {
        uintptr_t element, list;
        ELEMENT_STATIC_IMAGE* placed = fits.Place(plain, &element);
        const uintptr_t entries[2] = {element, 0};
        fits.Place(entries, 2, &list);
        previous->next = reinterpret_cast<ELEMENT_HEADER**>(list);
        previous = &placed->header;
    }
    ASSERT_TRUE(WalkModule(fits.Span(), fits.import_table, fits.linkage, &records, &error)) << error;
    EXPECT_EQ(records.gauges[0].elements.size(), size_t(MaxElements));
}

// What both the built image and the program's own records must walk to.
void ExpectTheGauge(const ModuleRecords& records, uintptr_t face, uintptr_t knob)
{
    ASSERT_EQ(records.gauges.size(), 1u);
    const GaugeRecords& g = records.gauges[0];
    EXPECT_EQ(g.name, "TIY");
    struct Expected {
        uint32_t kind;
        int depth;
        int x;
    } expected[] = {{ELEMENT_TYPE_STATIC_IMAGE, 0, 0}, {ELEMENT_TYPE_STRING, 1, 473}, {ELEMENT_TYPE_STRING, 2, 47},
                    {ELEMENT_TYPE_NEEDLE, 3, 300}};
    ASSERT_EQ(g.elements.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(g.elements[i].header.kind, expected[i].kind) << "element " << i;
        EXPECT_EQ(g.elements[i].depth, expected[i].depth) << "element " << i;
        EXPECT_EQ(g.elements[i].header.position.x, expected[i].x) << "element " << i;
    }
    EXPECT_EQ(g.elements.front().address, face);
    EXPECT_EQ(g.elements.back().address, knob);
    EXPECT_EQ(g.elements[1].font_face, "Quartz");
    const uint32_t types[] = {MOUSE_PARENT, MOUSE_USER, MOUSE_CHILD, MOUSE_CHILD, MOUSE_PARENT_END};
    ASSERT_EQ(g.mouse_areas.size(), std::size(types));
    for (size_t i = 0; i < std::size(types); ++i)
        EXPECT_EQ(g.mouse_areas[i].rect.type, types[i]) << "mouse area " << i;
    EXPECT_EQ(g.mouse_areas[1].tooltip, TooltipText);
    EXPECT_EQ(g.mouse_areas[2].parent, 0);
}

TEST(RecordWalk, BuiltImageWalks)
{
    ModuleImage image;
    BuildModuleImage(&image);
    ModuleRecords records;
    std::string error;
    ASSERT_TRUE(WalkModule(image.Span(), image.import_table, image.linkage, &records, &error)) << error;
    EXPECT_EQ(records.service_entry, image.import_table + offsetof(ImportEntry, address));
    ExpectTheGauge(records, image.face, image.knob);
}

TEST(RecordWalk, ProgramsOwnRecordsWalk)
{
    NativeModule module;
    std::string error;
    ASSERT_TRUE(LoadNativeModule(ARTWORK_DIR, &module, &error)) << error;
    EXPECT_EQ(module.records.service_entry, Addr(&ImportTable.panels.address));
    ExpectTheGauge(module.records, Addr(&FaceBackground), Addr(&YawKnob));
    EXPECT_EQ(ImportTable.panels.address, PanelServiceTable());
    ImportTable.panels.address = nullptr;
}

}  // namespace
