#include "gauge_host/core/gauge_description.h"

#include "common/text_format.h"
#include "gauge_host/core/area_overlay.h"
#include "gauge_host/core/hit_test.h"
#include "gauge_host/core/record_lookup.h"

namespace {

struct FlagName {
    uint32_t bit;
    const char* name;
};

constexpr FlagName ImageFlagNames[] = {
    {IMAGE_USE_TRANSPARENCY, "transparency"}, {IMAGE_USE_ERASE, "erase"}, {IMAGE_USE_BRIGHT, "bright"}};
constexpr FlagName FormatFlagNames[] = {
    {TEXT_CENTRE, "centre"}, {TEXT_VERTICAL_CENTRE, "vertical centre"}, {TEXT_SINGLE_LINE, "single line"}};
constexpr FlagName MouseFlagNames[] = {
    {MOUSE_LEFT_SINGLE, "left single"}, {MOUSE_RIGHT_SINGLE, "right single"}, {MOUSE_REPEAT, "repeat"}};

template <size_t N>
std::string Flags(uint32_t flags, const FlagName (&names)[N])
{
    std::string text = Format("0x%X", unsigned(flags)), list;
    for (const FlagName& f : names)
        if (flags & f.bit) {
            list += (list.empty() ? "" : ", ") + std::string(f.name);
            flags &= ~f.bit;
        }
    if (flags)
        list += (list.empty() ? "" : ", ") + Format("other bits 0x%X", unsigned(flags));
    return list.empty() ? text : text + " (" + list + ")";
}

std::string Pointer(const void* pointer)
{
    return pointer ? HexAddress(reinterpret_cast<uintptr_t>(pointer)) : "none";
}

std::string Variable(uint32_t number)
{
    return number == VARIABLE_NONE ? "none" : std::to_string(number);
}

std::string Bitmap(int32_t number, const ModuleFacts& facts)
{
    if (number == BITMAP_NONE)
        return "no bitmap";
    auto it = facts.bitmaps.find(number);
    if (it == facts.bitmaps.end())
        return Format("bitmap %d", int(number));
    const BitmapFacts& b = it->second;
    if (!b.error.empty())
        return Format("bitmap %d (%s)", int(number), b.error.c_str());
    std::string colours = b.colours ? Format(", %d colours", b.colours) : "";
    return Format("bitmap %d (%d x %d, %d-bit%s)", int(number), b.width, b.height, b.bits_per_pixel, colours.c_str());
}

void DescribeElement(const ElementRecord& e, const std::string& place, const ModuleFacts& facts, FILE* out)
{
    const std::string indent(6 + 2 * e.depth, ' '), more = indent + "  ";
    const ELEMENT_HEADER& h = e.header;
    static const char* const kinds[] = {"static image", "needle", "string"};
    fprintf(out, "%s%s %s at %s\n", indent.c_str(), place.c_str(), kinds[h.kind], HexAddress(e.address).c_str());
    if (h.kind != ELEMENT_TYPE_STRING)
        fprintf(out, "%s%s\n", more.c_str(), Bitmap(h.bitmap, facts).c_str());
    fprintf(out, "%sposition (%d, %d), offset (%d, %d), flags %s\n", more.c_str(), int(h.position.x),
            int(h.position.y), int(h.offset.x), int(h.offset.y), Flags(h.image_flags, ImageFlagNames).c_str());
    if (h.special_flags || h.failures)
        fprintf(out, "%sspecial flags 0x%X, failure list %s\n", more.c_str(), unsigned(h.special_flags),
                Pointer(h.failures).c_str());
    if (h.kind == ELEMENT_TYPE_STRING) {
        const ELEMENT_STRING& s = e.string;
        fprintf(out, "%sbox %d x %d, longest text %u, sources %s, %s, %s\n", more.c_str(), int(s.box_width),
                int(s.box_height), unsigned(s.max_chars), Variable(s.source_variables[0]).c_str(),
                Variable(s.source_variables[1]).c_str(), Variable(s.source_variables[2]).c_str());
        fprintf(out, "%scolours: text 0x%08X, background 0x%08X, highlight 0x%08X\n", more.c_str(),
                unsigned(s.text_colour), unsigned(s.background_colour), unsigned(s.highlight_colour));
        fprintf(out, "%sfont \"%s\", weight %d, character set %u, format %s\n", more.c_str(), e.font_face.c_str(),
                int(s.font_weight), unsigned(s.charset), Flags(s.format_flags, FormatFlagNames).c_str());
        fprintf(out, "%scallback %s, highlight list %s\n", more.c_str(), Pointer((const void*)s.callback).c_str(),
                Pointer(s.highlights).c_str());
    } else if (h.kind == ELEMENT_TYPE_NEEDLE) {
        const ELEMENT_NEEDLE& n = e.needle;
        fprintf(out, "%ssource %s, callback %s, turn-rate limit %u\n", more.c_str(),
                Variable(n.source_variable).c_str(), Pointer((const void*)n.callback).c_str(),
                unsigned(n.turn_rate_limit));
        if (e.angles.empty())
            fprintf(out, "%sno angle table: the value is the angle in degrees, clockwise\n", more.c_str());
        for (const NeedleAngle& a : e.angles)
            fprintf(out, "%svalue %g -> %g degrees\n", more.c_str(), a.value, a.degrees);
    }
}

void DescribeMouseAreas(const GaugeRecords& g, FILE* out)
{
    static const char* const types[] = {"end", "parent", "child", "end parent", "user"};
    fprintf(out, "    mouse areas:\n");
    if (g.mouse_areas.empty()) {
        fprintf(out, "      none\n");
        return;
    }
    fprintf(out, "      %-3s %-10s %5s %5s %5s %5s  %-7s %-7s %-4s %-10s %-6s %s\n", "#", "type", "x", "y", "w", "h",
            "cursor", "tint", "help", "flags", "event", "function / text");
    for (size_t i = 0; i < g.mouse_areas.size(); ++i) {
        const MouseAreaRecord& a = g.mouse_areas[i];
        const MOUSERECT& r = a.rect;
        const bool child = r.type == MOUSE_CHILD;
        const std::string action = r.type == MOUSE_USER ? "\"" + a.tooltip + "\""
                                   : child ? Pointer((const void*)r.action.function) + "  " + Flags(r.flags, MouseFlagNames)
                                           : Pointer((const void*)r.action.function);
        fprintf(out, "      %-3d %-10s %5d %5d %5d %5d  %-7s %-7s %-4u 0x%08X %-6u %s\n", int(i + 1), types[r.type],
                int(r.x), int(r.y), int(r.width), int(r.height), CursorName(r.cursor).c_str(),
                child ? TintOf(r.cursor).name : "-", unsigned(r.help_id), unsigned(r.flags), unsigned(r.event_id),
                action.c_str());
    }
}

void DescribeGauge(const GaugeRecords& g, const ModuleFacts& facts, FILE* out)
{
    const GAUGEHDR& h = g.header;
    fprintf(out, "  gauge \"%s\" at %s\n", g.name.c_str(), HexAddress(g.header_address).c_str());
    fprintf(out, "    header version %u, default size %u x %u mm\n", unsigned(h.header_version),
            unsigned(h.default_width), unsigned(h.default_height));
    fprintf(out, "    routines: query %s, install %s, initialize %s, update %s,\n", Pointer((const void*)h.query).c_str(),
            Pointer((const void*)h.install).c_str(), Pointer((const void*)h.initialize).c_str(),
            Pointer((const void*)h.update).c_str());
    fprintf(out, "              generate %s, draw %s, kill %s\n", Pointer((const void*)h.generate).c_str(),
            Pointer((const void*)h.draw).c_str(), Pointer((const void*)h.kill).c_str());
    fprintf(out, "    gauge callback %s, user data %s, parameters %s, usage %s\n", Pointer(h.gauge_callback).c_str(),
            Pointer(h.user_data).c_str(), Pointer(h.parameters).c_str(), Pointer(h.usage).c_str());
    fprintf(out, "    elements, drawn in this order, each by its place in the tree (a next list\n"
                 "    indented under its element):\n");
    const std::vector<std::string> places = TreePlaces(g.elements);
    for (size_t i = 0; i < g.elements.size(); ++i)
        DescribeElement(g.elements[i], places[i], facts, out);
    DescribeMouseAreas(g, out);
    fprintf(out, "    tooltip: \"%s\"\n", GaugeTooltip(g.mouse_areas).c_str());

    auto root = facts.bitmaps.find(g.elements.front().header.bitmap);
    if (root != facts.bitmaps.end() && root->second.error.empty())
        for (const std::string& warning : CheckMouseAreas(g.mouse_areas, root->second.width, root->second.height))
            fprintf(out, "    warning: %s\n", warning.c_str());
}

}  // namespace

void DescribeModule(const ModuleRecords& module, const ModuleFacts& facts, FILE* out)
{
    const GAUGESLINKAGE& l = module.linkage;
    fprintf(out, "%s\n", facts.path.c_str());
    fprintf(out, "  Linkage: module identifier 0x%04X, version 0x%04X, flags 0x%X, priority %u\n",
            unsigned(l.module_identifier), unsigned(l.module_version), unsigned(l.module_flags),
            unsigned(l.module_priority));
    fprintf(out, "           init %s, deinit %s\n", Pointer((const void*)l.module_init).c_str(),
            Pointer((const void*)l.module_deinit).c_str());
    fprintf(out, "  ImportTable: panel service entry at %s\n", HexAddress(module.service_entry).c_str());
    fprintf(out, "  gauges: %d\n", int(module.gauges.size()));
    for (const GaugeRecords& g : module.gauges)
        DescribeGauge(g, facts, out);

    fprintf(out, "  resources:\n");
    for (const ResourceEntry& r : facts.resources)
        fprintf(out, "    %-8s %-6s language 0x%04X  %u bytes\n", r.type.c_str(), r.name.c_str(), unsigned(r.language),
                unsigned(r.size));
    if (!facts.version_error.empty()) {
        fprintf(out, "  version: %s\n", facts.version_error.c_str());
        return;
    }
    fprintf(out, "  version: file %s, product %s\n", facts.file_version.c_str(), facts.product_version.c_str());
    for (const auto& [key, value] : facts.version_strings)
        fprintf(out, "    %-17s %s\n", key.c_str(), value.c_str());
}
