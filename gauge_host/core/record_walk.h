// record_walk.h: reads a gauge module's records -- Linkage, the import
// table, each gauge header, its element tree and its mouse areas -- with
// every address checked against the module's image before it is read.
//
// Usage:
//   MemorySpan image{base, bytes, size};
//   ModuleRecords module;
//   std::string error;
//   if (!WalkModule(image, import_table_address, linkage_address, &module, &error)) ...
//
// The walk reads the records as words at addresses, never through the
// module's own pointers, so any bytes give either a description or one
// error line: a null root, a chain that loops or runs past a bound, an
// unknown element kind or a mouse list without an end are all caught.
// Records use this build's layout (host/gauges.h): 32-bit in the Windows
// host, 64-bit natively.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "host/gauges.h"

// Bounds of a sane module; a record past one is malformed.
constexpr int MaxGauges = 64;
constexpr int MaxElements = 256;
constexpr int MaxListEntries = 64;    // entries of one element or import list
constexpr int MaxMouseEntries = 256;
constexpr int MaxMouseNesting = 16;
constexpr int MaxTextLength = 1024;   // names, font faces, tooltips
constexpr int MaxStringChars = 255;   // a string element's longest text
constexpr int MaxAngles = 256;        // entries of a needle's angle table
constexpr int32_t MaxCoordinate = 100000;

// The module's image as the records address it. bytes is writable: the
// host keeps its working fields inside the element records.
struct MemorySpan {
    uintptr_t base = 0;
    uint8_t* bytes = nullptr;
    size_t size = 0;

    bool Contains(uintptr_t address, size_t length) const
    {
        return address >= base && length <= size && address - base <= size - length;
    }
    void* At(uintptr_t address) const { return bytes + (address - base); }
};

struct ElementRecord {
    uintptr_t address = 0;
    void* live = nullptr;  // the record itself, where the host writes its working fields
    int depth = 0;  // 0 for a root; one more for each next list
    // Copies as read; string and needle are filled for their kind only.
    ELEMENT_HEADER header{};
    ELEMENT_STRING string{};
    ELEMENT_NEEDLE needle{};
    std::string font_face;
    std::vector<NeedleAngle> angles;
};

struct MouseAreaRecord {
    uintptr_t address = 0;
    MOUSERECT rect{};  // copy as read
    std::string tooltip;  // user entries
    int parent = -1;  // index of the enclosing parent entry
};

struct GaugeRecords {
    uintptr_t header_address = 0;
    GAUGEHDR header{};  // copy as read
    std::string name;
    std::vector<ElementRecord> elements;  // in tree order: an element, then its next list
    std::vector<MouseAreaRecord> mouse_areas;  // up to the end entry, which is left out
};

struct ModuleRecords {
    GAUGESLINKAGE linkage{};  // copy as read, without the gauge list
    uintptr_t service_entry = 0;  // address of the import entry's address field
    std::vector<GaugeRecords> gauges;
};

bool WalkModule(const MemorySpan& image, uintptr_t import_table, uintptr_t linkage, ModuleRecords* module,
                std::string* error);
bool WalkGauge(const MemorySpan& image, uintptr_t header, GaugeRecords* gauge, std::string* error);

std::string HexAddress(uintptr_t address);
