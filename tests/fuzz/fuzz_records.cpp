// libFuzzer target for the host's records walk. The gauge's real records
// are laid out in a buffer as a loaded module holds them (addresses
// relative to a made-up base); the input then overwrites words of that
// image, so chains, lists and texts get broken in every way a bad module
// could break them. Each mutation is 6 bytes: a 16-bit word index and a
// 32-bit value; an odd value becomes an address inside the image.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "face/face.h"
#include "module/exports.h"
#include "tools/record_walk.h"

namespace {

constexpr uintptr_t Base = 0x10000000;
constexpr size_t ImageSize = 4096;

struct ModuleImage {
    alignas(16) uint8_t bytes[ImageSize];
    size_t used = 0;
    uintptr_t import_table = 0, linkage = 0;

    // Copies count values to the next aligned place; returns the copy.
    template <class T>
    T* Place(const T* values, size_t count, uintptr_t* address)
    {
        used = (used + 15) & ~size_t(15);
        T* placed = reinterpret_cast<T*>(bytes + used);
        memcpy(static_cast<void*>(placed), values, count * sizeof(T));
        *address = Base + used;
        used += count * sizeof(T);
        return placed;
    }
    template <class T>
    T* Place(const T& value, uintptr_t* address) { return Place(&value, 1, address); }
    const char* PlaceText(const char* text)
    {
        uintptr_t address;
        Place(text, strlen(text) + 1, &address);
        return reinterpret_cast<const char*>(address);
    }
};

// The real records, copied and relinked inside the image.
void Build(ModuleImage* image)
{
    memset(image->bytes, 0, sizeof image->bytes);
    image->used = 0;
    uintptr_t header, list, face, right, left, knob, areas, next[3];
    image->Place(ImportTable, &image->import_table);
    GAUGESLINKAGE* linkage = image->Place(Linkage, &image->linkage);
    GAUGEHDR* gauge = image->Place(GaugeHeader, &header);
    ELEMENT_STATIC_IMAGE* face_record = image->Place(FaceBackground, &face);
    ELEMENT_STRING* right_record = image->Place(RightReadout, &right);
    ELEMENT_STRING* left_record = image->Place(LeftReadout, &left);
    ELEMENT_NEEDLE* knob_record = image->Place(YawKnob, &knob);
    MOUSERECT* area_records = image->Place(GaugeMouseAreas, 6, &areas);
    const uintptr_t root_list[2] = {face, 0}, chain[3][2] = {{right, 0}, {left, 0}, {knob, 0}};
    image->Place(root_list, 2, &list);
    for (int i = 0; i < 3; ++i)
        image->Place(chain[i], 2, &next[i]);

    // The walk wants every routine inside the module; it never calls them.
    static const uint8_t code_bytes[64] = {};
    uintptr_t code;
    image->Place(code_bytes, sizeof code_bytes, &code);
    auto routine = [&](int n) { return reinterpret_cast<void*>(code + 4 * n); };

    linkage->module_init = linkage->module_deinit = reinterpret_cast<ModuleRoutine>(routine(0));
    linkage->gauges[0] = reinterpret_cast<GAUGEHDR*>(header);
    gauge->query = gauge->initialize = gauge->update = gauge->draw = gauge->kill =
        reinterpret_cast<GaugeRoutine>(routine(1));
    gauge->install = reinterpret_cast<GaugeInstallRoutine>(routine(2));
    gauge->generate = reinterpret_cast<GaugeGenerateRoutine>(routine(3));
    right_record->callback = left_record->callback = reinterpret_cast<StringCallback>(routine(4));
    knob_record->callback = reinterpret_cast<NeedleCallback>(routine(5));
    area_records[2].action.function = area_records[3].action.function = reinterpret_cast<MouseFunction>(routine(6));
    gauge->gauge_name = image->PlaceText("TIY");
    gauge->element_list = reinterpret_cast<ELEMENT_HEADER**>(list);
    gauge->mouse_areas = reinterpret_cast<MOUSERECT*>(areas);
    ELEMENT_HEADER* elements[4] = {&face_record->header, &right_record->header, &left_record->header,
                                   &knob_record->header};
    for (int i = 0; i < 4; ++i) {
        elements[i]->gauge = reinterpret_cast<GAUGEHDR*>(header);
        elements[i]->next = i < 3 ? reinterpret_cast<ELEMENT_HEADER**>(next[i]) : nullptr;
    }
    right_record->font_face = left_record->font_face = image->PlaceText("Quartz");
    area_records[1].action.tooltip = image->PlaceText(TooltipText);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ModuleImage image;
    Build(&image);
    const size_t words = image.used / sizeof(uintptr_t);
    for (; size >= 6; data += 6, size -= 6) {
        uint16_t index;
        uint32_t value;
        memcpy(&index, data, 2);
        memcpy(&value, data + 2, 4);
        uintptr_t word = value & 1 ? Base + (value >> 1) % ImageSize : value;
        memcpy(image.bytes + (index % words) * sizeof(uintptr_t), &word, sizeof word);
    }
    MemorySpan span{Base, image.bytes, ImageSize};
    ModuleRecords records;
    std::string error;
    bool walked = WalkModule(span, image.import_table, image.linkage, &records, &error);
    if (walked != error.empty())
        abort();
    return 0;
}

// The unbroken image must walk: otherwise the target fuzzes nothing useful.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static ModuleImage image;
    Build(&image);
    MemorySpan span{Base, image.bytes, ImageSize};
    ModuleRecords records;
    std::string error;
    if (!WalkModule(span, image.import_table, image.linkage, &records, &error) || records.gauges.size() != 1 ||
        records.gauges[0].elements.size() != 4 || records.gauges[0].mouse_areas.size() != 5) {
        fprintf(stderr, "fuzz_records: the gauge's own records do not walk: %s\n", error.c_str());
        abort();
    }
    return 0;
}
