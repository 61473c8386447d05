#include "gauge_host/core/record_walk.h"
#include "common/fail.h"

#include <stdio.h>
#include <string.h>

#include <set>

namespace {

std::string Hex32(uint32_t value)
{
    char text[16];
    snprintf(text, sizeof text, "0x%04X", unsigned(value));
    return text;
}

template <class T>
bool Read(const MemorySpan& image, uintptr_t address, T* out)
{
    if (!image.Contains(address, sizeof(T)) || address % alignof(T) != 0)
        return false;
    memcpy(out, image.At(address), sizeof(T));
    return true;
}

uintptr_t Address(const void* pointer) { return reinterpret_cast<uintptr_t>(pointer); }

// A pointer a record may hold: null, or somewhere in the image.
bool InImageOrNull(const MemorySpan& image, const void* pointer)
{
    return !pointer || image.Contains(Address(pointer), 1);
}

bool ReadText(const MemorySpan& image, const char* pointer, std::string* text, const std::string& what,
              std::string* error)
{
    text->clear();
    if (!pointer)
        return true;
    const uintptr_t address = Address(pointer);
    for (int i = 0; i <= MaxTextLength; ++i) {
        if (!image.Contains(address + i, 1))
            return Fail(error, what + " at " + HexAddress(address) + " runs outside the module");
        const char c = *static_cast<const char*>(image.At(address + i));
        if (!c)
            return true;
        text->push_back(c);
    }
    return Fail(error, what + " at " + HexAddress(address) + " is longer than " + std::to_string(MaxTextLength) +
                           " characters");
}

bool CoordinateOk(int32_t value) { return value >= -MaxCoordinate && value <= MaxCoordinate; }

// A zero-terminated list of pointers, as next lists and element lists are.
bool ReadPointerList(const MemorySpan& image, uintptr_t list, std::vector<uintptr_t>* entries,
                     const std::string& what, std::string* error)
{
    entries->clear();
    for (int i = 0; i <= MaxListEntries; ++i) {
        void* entry;
        if (!Read(image, list + i * sizeof(void*), &entry))
            return Fail(error, what + " at " + HexAddress(list) + " runs outside the module before its zero entry");
        if (!entry)
            return true;
        entries->push_back(Address(entry));
    }
    return Fail(error, what + " at " + HexAddress(list) + " has no zero entry within " +
                           std::to_string(MaxListEntries) + " entries");
}

bool ReadElement(const MemorySpan& image, ElementRecord* element, std::string* error)
{
    const std::string what = "element " + HexAddress(element->address);
    if (!Read(image, element->address, &element->header))
        return Fail(error, what + " lies outside the module or is misaligned");
    const ELEMENT_HEADER& h = element->header;
    if (!CoordinateOk(h.position.x) || !CoordinateOk(h.position.y) || !CoordinateOk(h.offset.x) ||
        !CoordinateOk(h.offset.y))
        return Fail(error, what + ": position or offset beyond +-" + std::to_string(MaxCoordinate));
    switch (h.kind) {
    case ELEMENT_TYPE_STATIC_IMAGE:
        return true;
    case ELEMENT_TYPE_STRING: {
        if (!Read(image, element->address, &element->string))
            return Fail(error, what + ": string record runs outside the module or is misaligned");
        const ELEMENT_STRING& s = element->string;
        if (!InImageOrNull(image, (const void*)s.callback))
            return Fail(error, what + ": callback " + HexAddress(Address((const void*)s.callback)) +
                                   " is outside the module");
        if (s.box_width < 0 || s.box_height < 0 || s.box_width > MaxCoordinate || s.box_height > MaxCoordinate)
            return Fail(error, what + ": box " + std::to_string(s.box_width) + " x " + std::to_string(s.box_height) +
                                   " is not a size");
        if (s.max_chars > MaxStringChars)
            return Fail(error, what + ": longest text of " + std::to_string(s.max_chars) + " characters; at most " +
                                   std::to_string(MaxStringChars));
        return ReadText(image, s.font_face, &element->font_face, what + ": font face", error);
    }
    case ELEMENT_TYPE_NEEDLE: {
        if (!Read(image, element->address, &element->needle))
            return Fail(error, what + ": needle record runs outside the module or is misaligned");
        const ELEMENT_NEEDLE& n = element->needle;
        if (!InImageOrNull(image, (const void*)n.callback))
            return Fail(error, what + ": callback " + HexAddress(Address((const void*)n.callback)) +
                                   " is outside the module");
        if (!n.angle_table)
            return true;
        if (n.angle_count < 2 || n.angle_count > MaxAngles)
            return Fail(error, what + ": angle table of " + std::to_string(n.angle_count) + " entries; 2 to " +
                                   std::to_string(MaxAngles));
        element->angles.resize(n.angle_count);
        for (uint32_t i = 0; i < n.angle_count; ++i)
            if (!Read(image, Address(n.angle_table) + i * sizeof(NeedleAngle), &element->angles[i]))
                return Fail(error, what + ": angle table runs outside the module or is misaligned");
        return true;
    }
    default:
        return Fail(error, what + ": unknown element kind " + std::to_string(h.kind) +
                               " (0 static image, 1 needle, 2 string)");
    }
}

bool WalkElements(const MemorySpan& image, uintptr_t element_list, GaugeRecords* gauge, std::string* error)
{
    std::vector<uintptr_t> roots;
    if (!element_list)
        return Fail(error, "null element list: the gauge has no root element");
    if (!ReadPointerList(image, element_list, &roots, "element list", error))
        return false;
    if (roots.empty())
        return Fail(error, "null root: the element list's first entry is zero");

    // Depth first, an element before its next list, the list in order.
    struct Pending {
        uintptr_t address;
        int depth;
        uintptr_t reached_from;
    };
    std::vector<Pending> stack;
    for (size_t i = roots.size(); i-- > 0;)
        stack.push_back({roots[i], 0, 0});
    std::set<uintptr_t> seen;
    while (!stack.empty()) {
        const Pending pending = stack.back();
        stack.pop_back();
        if (!seen.insert(pending.address).second)
            return Fail(error, "element " + HexAddress(pending.address) + " is reached again from element " +
                                   HexAddress(pending.reached_from) + ": the element chain loops");
        if (int(gauge->elements.size()) == MaxElements)
            return Fail(error, "more than " + std::to_string(MaxElements) + " elements");
        ElementRecord element;
        element.address = pending.address;
        element.depth = pending.depth;
        if (!ReadElement(image, &element, error))
            return false;
        element.live = image.At(pending.address);
        if (element.header.next) {
            std::vector<uintptr_t> next;
            if (!ReadPointerList(image, Address(element.header.next), &next,
                                 "next list of element " + HexAddress(element.address), error))
                return false;
            for (size_t i = next.size(); i-- > 0;)
                stack.push_back({next[i], pending.depth + 1, element.address});
        }
        gauge->elements.push_back(std::move(element));
    }
    return true;
}

bool WalkMouseAreas(const MemorySpan& image, uintptr_t list, GaugeRecords* gauge, std::string* error)
{
    if (!list)
        return true;
    std::vector<int> open;  // indexes of the parents not yet closed
    for (int i = 0; i < MaxMouseEntries; ++i) {
        MouseAreaRecord area;
        area.address = list + i * sizeof(MOUSERECT);
        const std::string what = "mouse area entry " + std::to_string(i + 1);
        if (!Read(image, area.address, &area.rect))
            return Fail(error, what + " at " + HexAddress(area.address) +
                                   " runs outside the module: the mouse list has no end entry");
        const MOUSERECT& r = area.rect;
        area.parent = open.empty() ? -1 : open.back();
        switch (r.type) {
        case MOUSE_END:
            if (!open.empty())
                return Fail(error, "mouse list ends with the parent of entry " + std::to_string(open.back() + 1) +
                                       " still open");
            return true;
        case MOUSE_PARENT:
            if (int(open.size()) == MaxMouseNesting)
                return Fail(error, what + ": parents nested deeper than " + std::to_string(MaxMouseNesting));
            open.push_back(i);
            break;
        case MOUSE_PARENT_END:
            if (open.empty())
                return Fail(error, what + ": end of parent without a parent");
            open.pop_back();
            break;
        case MOUSE_CHILD:
        case MOUSE_USER:
            if (open.empty())
                return Fail(error, what + ": " + (r.type == MOUSE_CHILD ? "child" : "user entry") +
                                       " outside any parent");
            break;
        default:
            return Fail(error, what + ": unknown entry type " + std::to_string(r.type));
        }
        if (!CoordinateOk(r.x) || !CoordinateOk(r.y) || r.width < 0 || r.height < 0 || r.width > MaxCoordinate ||
            r.height > MaxCoordinate)
            return Fail(error, what + ": box " + std::to_string(r.x) + ", " + std::to_string(r.y) + ", " +
                                   std::to_string(r.width) + " x " + std::to_string(r.height) + " is not a box");
        if (r.type == MOUSE_USER) {
            if (!ReadText(image, r.action.tooltip, &area.tooltip, what + ": tooltip", error))
                return false;
        } else if (!InImageOrNull(image, (const void*)r.action.function)) {
            return Fail(error, what + ": function " + HexAddress(Address((const void*)r.action.function)) +
                                   " is outside the module");
        }
        gauge->mouse_areas.push_back(std::move(area));
    }
    return Fail(error, "the mouse list has no end entry within " + std::to_string(MaxMouseEntries) + " entries");
}

}  // namespace

std::string HexAddress(uintptr_t address)
{
    char text[24];
    snprintf(text, sizeof text, "0x%0*llX", int(sizeof(void*) * 2), (unsigned long long)address);
    return text;
}

bool WalkGauge(const MemorySpan& image, uintptr_t header, GaugeRecords* gauge, std::string* error)
{
    *gauge = {};
    gauge->header_address = header;
    if (!Read(image, header, &gauge->header))
        return Fail(error, "gauge header " + HexAddress(header) + " lies outside the module or is misaligned");
    const GAUGEHDR& h = gauge->header;
    if (!ReadText(image, h.gauge_name, &gauge->name, "gauge name", error))
        return false;
    const std::string what = "gauge \"" + gauge->name + "\": ";
    for (const void* routine : {(const void*)h.query, (const void*)h.install, (const void*)h.initialize,
                                (const void*)h.update, (const void*)h.generate, (const void*)h.draw,
                                (const void*)h.kill})
        if (!InImageOrNull(image, routine))
            return Fail(error, what + "routine " + HexAddress(Address(routine)) + " is outside the module");
    if (!WalkElements(image, Address(h.element_list), gauge, error) ||
        !WalkMouseAreas(image, Address(h.mouse_areas), gauge, error)) {
        *error = what + *error;
        return false;
    }
    return true;
}

bool WalkModule(const MemorySpan& image, uintptr_t import_table, uintptr_t linkage, ModuleRecords* module,
                std::string* error)
{
    *module = {};
    if (!Read(image, linkage, &module->linkage))
        return Fail(error, "Linkage at " + HexAddress(linkage) + " lies outside the module or is misaligned");
    const GAUGESLINKAGE& l = module->linkage;
    if (l.module_identifier != MODULE_IDENTIFIER)
        return Fail(error, "Linkage module identifier " + Hex32(l.module_identifier) + ", expected " +
                               Hex32(MODULE_IDENTIFIER));
    if (l.module_version != MODULE_VERSION)
        return Fail(error, "module version " + Hex32(l.module_version) + ", expected " + Hex32(MODULE_VERSION));
    if (!InImageOrNull(image, (const void*)l.module_init) || !InImageOrNull(image, (const void*)l.module_deinit))
        return Fail(error, "Linkage names an init or deinit routine outside the module");

    for (int i = 0;; ++i) {
        ImportEntry entry;
        const uintptr_t address = import_table + i * sizeof(ImportEntry);
        if (i == MaxListEntries || !Read(image, address, &entry))
            return Fail(error, "ImportTable has no end entry within the module");
        if (entry.identifier == 0 && entry.address == nullptr)
            break;
        if (entry.identifier == IMPORT_PANELS && !module->service_entry)
            module->service_entry = address + offsetof(ImportEntry, address);
    }
    if (!module->service_entry)
        return Fail(error, "ImportTable has no panel service entry (identifier " + Hex32(IMPORT_PANELS) + ")");

    std::vector<uintptr_t> headers;
    const uintptr_t list = linkage + offsetof(GAUGESLINKAGE, gauges);
    for (int i = 0;; ++i) {
        void* header;
        if (i > MaxGauges || !Read(image, list + i * sizeof(void*), &header))
            return Fail(error, "Linkage's gauge list has no zero entry within the module");
        if (!header)
            break;
        headers.push_back(Address(header));
    }
    if (headers.empty())
        return Fail(error, "Linkage lists no gauge");
    for (uintptr_t header : headers) {
        module->gauges.emplace_back();
        if (!WalkGauge(image, header, &module->gauges.back(), error))
            return false;
    }
    return true;
}
