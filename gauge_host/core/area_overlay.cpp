#include "gauge_host/core/area_overlay.h"

#include "gauge_host/core/draw_primitives.h"

namespace {

constexpr double TintOpacity = 0.35;

bool IsChild(const MouseAreaRecord& area) { return area.rect.type == MOUSE_CHILD; }

// Far edges count as inside, as in the hit test.
bool Overlap(const MOUSERECT& a, const MOUSERECT& b)
{
    return a.x <= b.x + b.width && b.x <= a.x + a.width && a.y <= b.y + b.height && b.y <= a.y + a.height;
}

std::string BoxText(const MOUSERECT& r)
{
    return std::to_string(r.x) + ", " + std::to_string(r.y) + ", " + std::to_string(r.width) + " x " +
           std::to_string(r.height);
}

}  // namespace

AreaTint TintOf(int32_t cursor)
{
    switch (cursor) {
    case CURSOR_UP_ARROW: return {"orange", {255, 140, 30}};
    case CURSOR_DOWN_ARROW: return {"blue", {40, 120, 255}};
    case CURSOR_NONE: return {"grey", {200, 200, 200}};
    default: return {"magenta", {230, 40, 220}};
    }
}

void DrawMouseAreas(Frame* frame, const std::vector<MouseAreaRecord>& areas, double scale)
{
    for (const MouseAreaRecord& area : areas) {
        if (!IsChild(area))
            continue;
        const MOUSERECT& r = area.rect;
        // The box holds pixels x..x+width, so it ends at the far edge of the last one.
        const FrameBox box = {r.x * scale, r.y * scale, (r.x + r.width + 1) * scale, (r.y + r.height + 1) * scale};
        const AreaTint tint = TintOf(r.cursor);
        FillBox(frame, box, tint.colour, TintOpacity);
        StrokeBox(frame, box, tint.colour);
    }
}

std::vector<std::string> CheckMouseAreas(const std::vector<MouseAreaRecord>& areas, int gauge_width,
                                         int gauge_height)
{
    std::vector<std::string> warnings;
    for (size_t i = 0; i < areas.size(); ++i) {
        const MOUSERECT& r = areas[i].rect;
        const bool whole_gauge = r.type == MOUSE_PARENT && r.width == 0 && r.height == 0;
        if ((r.type == MOUSE_CHILD || r.type == MOUSE_PARENT) && !whole_gauge &&
            (r.x < 0 || r.y < 0 || r.x + r.width >= gauge_width || r.y + r.height >= gauge_height))
            warnings.push_back("mouse area " + std::to_string(i + 1) + " (" + BoxText(r) + ") reaches outside the " +
                               std::to_string(gauge_width) + " x " + std::to_string(gauge_height) + " gauge");
        if (!IsChild(areas[i]))
            continue;
        for (size_t j = i + 1; j < areas.size(); ++j)
            if (IsChild(areas[j]) && areas[j].parent == areas[i].parent && Overlap(r, areas[j].rect))
                warnings.push_back("mouse areas " + std::to_string(i + 1) + " and " + std::to_string(j + 1) +
                                   " overlap; the first one wins where they do");
    }
    return warnings;
}
