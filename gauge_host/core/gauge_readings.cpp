#include "gauge_host/core/gauge_readings.h"

const ElementState* FindReadout(const PanelHost& host, bool right)
{
    const ElementState* found = nullptr;
    int strings = 0;
    for (const ElementState& e : host.elements()) {
        if (e.record->header.kind != ELEMENT_TYPE_STRING)
            continue;
        ++strings;
        const int x = e.record->header.position.x;
        if (!found || (right ? x > found->record->header.position.x : x < found->record->header.position.x))
            found = &e;
    }
    return strings >= 2 ? found : nullptr;
}

const ElementState* FindKnob(const PanelHost& host)
{
    for (const ElementState& e : host.elements())
        if (e.record->header.kind == ELEMENT_TYPE_NEEDLE)
            return &e;
    return nullptr;
}
