#include "gauge_host/core/hit_test.h"

namespace {

bool Holds(const MOUSERECT& r, int gauge_width, int gauge_height, int x, int y)
{
    if (r.type == MOUSE_PARENT && r.width == 0 && r.height == 0)
        return x >= 0 && y >= 0 && x < gauge_width && y < gauge_height;
    return x >= r.x && x <= r.x + r.width && y >= r.y && y <= r.y + r.height;
}

// A parent holds the point only if every parent around it does too.
bool ParentsHold(const std::vector<MouseAreaRecord>& areas, int parent, int gauge_width, int gauge_height, int x,
                 int y)
{
    for (; parent >= 0; parent = areas[parent].parent)
        if (!Holds(areas[parent].rect, gauge_width, gauge_height, x, y))
            return false;
    return true;
}

std::string TooltipOf(const std::vector<MouseAreaRecord>& areas, int parent)
{
    for (const MouseAreaRecord& area : areas)
        if (area.rect.type == MOUSE_USER && area.parent == parent)
            return area.tooltip;
    return "";
}

}  // namespace

Hit HitTest(const std::vector<MouseAreaRecord>& areas, int gauge_width, int gauge_height, int x, int y)
{
    Hit hit;
    // The innermost parent that holds the point gives the cursor and tooltip
    // where no child does.
    for (int i = 0; i < int(areas.size()); ++i) {
        const MOUSERECT& r = areas[i].rect;
        if (r.type == MOUSE_PARENT && ParentsHold(areas, i, gauge_width, gauge_height, x, y)) {
            hit.cursor = r.cursor;
            hit.tooltip = TooltipOf(areas, i);
        }
    }
    for (int i = 0; i < int(areas.size()); ++i) {
        const MouseAreaRecord& area = areas[i];
        if (area.rect.type != MOUSE_CHILD || !Holds(area.rect, gauge_width, gauge_height, x, y) ||
            !ParentsHold(areas, area.parent, gauge_width, gauge_height, x, y))
            continue;
        hit.child = i;
        if (area.rect.cursor != CURSOR_NONE)
            hit.cursor = area.rect.cursor;
        hit.tooltip = TooltipOf(areas, area.parent);
        break;
    }
    return hit;
}

std::string GaugeTooltip(const std::vector<MouseAreaRecord>& areas)
{
    for (int i = 0; i < int(areas.size()); ++i)
        if (areas[i].rect.type == MOUSE_PARENT && areas[i].parent == -1)
            return TooltipOf(areas, i);
    return "";
}

std::string CursorName(int32_t cursor)
{
    switch (cursor) {
    case CURSOR_NONE: return "none";
    case CURSOR_UP_ARROW: return "up";
    case CURSOR_DOWN_ARROW: return "down";
    default: return "cursor " + std::to_string(cursor);
    }
}
