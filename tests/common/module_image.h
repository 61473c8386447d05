// A gauge module's image built in memory from words: the gauge's real
// records copied into a buffer and relinked at addresses relative to a
// made-up base, as a loaded module holds them. The records walk's tests
// and its fuzz target break words of it to make malformed modules.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "face/face.h"
#include "module/exports.h"
#include "gauge_host/core/record_walk.h"

constexpr uintptr_t ImageBase = 0x10000000;
constexpr size_t DefaultImageSize = 4096;

struct ModuleImage {
    explicit ModuleImage(size_t size = DefaultImageSize) : bytes(size) {}

    std::vector<uint8_t> bytes;  // operator new's alignment, enough for every record
    size_t used = 0;
    // Where the records landed.
    uintptr_t import_table = 0, linkage = 0, header = 0, root_list = 0, areas = 0;
    uintptr_t face = 0, right = 0, left = 0, knob = 0;
    uintptr_t next[3] = {};  // the next lists of face, right and left readouts
    uintptr_t code = 0;      // stand-in routines: the walk checks them, never calls them

    MemorySpan Span() { return {ImageBase, bytes.data(), bytes.size()}; }
    template <class T>
    T* At(uintptr_t address)
    {
        return reinterpret_cast<T*>(bytes.data() + (address - ImageBase));
    }

    // Copies count values to the next aligned place; returns the copy.
    template <class T>
    T* Place(const T* values, size_t count, uintptr_t* address)
    {
        used = (used + 15) & ~size_t(15);
        if (used + count * sizeof(T) > bytes.size())
            abort();  // a builder asked for more than the image holds
        T* placed = reinterpret_cast<T*>(bytes.data() + used);
        memcpy(static_cast<void*>(placed), values, count * sizeof(T));
        *address = ImageBase + used;
        used += count * sizeof(T);
        return placed;
    }
    template <class T>
    T* Place(const T& value, uintptr_t* address)
    {
        return Place(&value, 1, address);
    }
    const char* PlaceText(const char* text)
    {
        uintptr_t address;
        Place(text, strlen(text) + 1, &address);
        return reinterpret_cast<const char*>(address);
    }
};

// The real records, copied and relinked inside the image.
inline void BuildModuleImage(ModuleImage* image)
{
    memset(image->bytes.data(), 0, image->bytes.size());
    image->used = 0;
    image->Place(ImportTable, &image->import_table);
    GAUGESLINKAGE* linkage = image->Place(Linkage, &image->linkage);
    GAUGEHDR* gauge = image->Place(GaugeHeader, &image->header);
    ELEMENT_STATIC_IMAGE* face_record = image->Place(FaceBackground, &image->face);
    ELEMENT_STRING* right_record = image->Place(RightReadout, &image->right);
    ELEMENT_STRING* left_record = image->Place(LeftReadout, &image->left);
    ELEMENT_NEEDLE* knob_record = image->Place(YawKnob, &image->knob);
    MOUSERECT* area_records = image->Place(GaugeMouseAreas, 6, &image->areas);
    const uintptr_t root_list[2] = {image->face, 0};
    const uintptr_t chain[3][2] = {{image->right, 0}, {image->left, 0}, {image->knob, 0}};
    image->Place(root_list, 2, &image->root_list);
    for (int i = 0; i < 3; ++i)
        image->Place(chain[i], 2, &image->next[i]);

    static const uint8_t code_bytes[64] = {};
    image->Place(code_bytes, sizeof code_bytes, &image->code);
    auto routine = [&](int n) { return reinterpret_cast<void*>(image->code + 4 * n); };

    linkage->module_init = linkage->module_deinit = reinterpret_cast<ModuleRoutine>(routine(0));
    linkage->gauges[0] = reinterpret_cast<GAUGEHDR*>(image->header);
    gauge->query = gauge->initialize = gauge->update = gauge->draw = gauge->kill =
        reinterpret_cast<GaugeRoutine>(routine(1));
    gauge->install = reinterpret_cast<GaugeInstallRoutine>(routine(2));
    gauge->generate = reinterpret_cast<GaugeGenerateRoutine>(routine(3));
    right_record->callback = left_record->callback = reinterpret_cast<StringCallback>(routine(4));
    knob_record->callback = reinterpret_cast<NeedleCallback>(routine(5));
    area_records[2].action.function = area_records[3].action.function = reinterpret_cast<MouseFunction>(routine(6));
    gauge->gauge_name = image->PlaceText("TIY");
    gauge->element_list = reinterpret_cast<ELEMENT_HEADER**>(image->root_list);
    gauge->mouse_areas = reinterpret_cast<MOUSERECT*>(image->areas);
    ELEMENT_HEADER* elements[4] = {&face_record->header, &right_record->header, &left_record->header,
                                   &knob_record->header};
    for (int i = 0; i < 4; ++i) {
        elements[i]->gauge = reinterpret_cast<GAUGEHDR*>(image->header);
        elements[i]->next = i < 3 ? reinterpret_cast<ELEMENT_HEADER**>(image->next[i]) : nullptr;
    }
    right_record->font_face = left_record->font_face = image->PlaceText("Quartz");
    area_records[1].action.tooltip = image->PlaceText(TooltipText);
}
