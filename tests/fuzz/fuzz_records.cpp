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

#include "tests/common/module_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ModuleImage image;
    BuildModuleImage(&image);
    const size_t words = image.used / sizeof(uintptr_t);
    for (; size >= 6; data += 6, size -= 6) {
        uint16_t index;
        uint32_t value;
        memcpy(&index, data, 2);
        memcpy(&value, data + 2, 4);
        uintptr_t word = value & 1 ? ImageBase + (value >> 1) % image.bytes.size() : value;
        memcpy(image.bytes.data() + (index % words) * sizeof(uintptr_t), &word, sizeof word);
    }
    MemorySpan span = image.Span();
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
    BuildModuleImage(&image);
    MemorySpan span = image.Span();
    ModuleRecords records;
    std::string error;
    if (!WalkModule(span, image.import_table, image.linkage, &records, &error) || records.gauges.size() != 1 ||
        records.gauges[0].elements.size() != 4 || records.gauges[0].mouse_areas.size() != 5) {
        fprintf(stderr, "fuzz_records: the gauge's own records do not walk: %s\n", error.c_str());
        abort();
    }
    return 0;
}
