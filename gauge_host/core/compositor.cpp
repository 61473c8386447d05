#include "gauge_host/core/compositor.h"

#include <math.h>
#include <string.h>

#include "gauge_host/core/draw_primitives.h"
#include "gauge_host/core/seven_segment.h"

namespace {

void DrawString(Frame* frame, const ElementState& element, const View& view, uint32_t brightness)
{
    const ELEMENT_STRING& s = element.record->string;
    const double k = view.scale;
    const FrameBox box = {s.header.position.x * k, s.header.position.y * k, (s.header.position.x + s.box_width) * k,
                     (s.header.position.y + s.box_height) * k};
    // A black background under the transparency flag is no background.
    if (!(s.header.image_flags & IMAGE_USE_TRANSPARENCY && s.background_colour == 0))
        FillBox(frame, box, Dimmed(RgbFromRecordColour(s.background_colour), brightness));
    DrawSevenSegmentText(frame, box, element.text.data(), int(s.max_chars),
                         Dimmed(RgbFromRecordColour(s.text_colour), brightness), s.format_flags);
}

}  // namespace

int FrameSize(int gauge_size, double scale)
{
    return int(lround(gauge_size * scale));
}

void DrawGauge(const std::vector<ElementState>& elements, int gauge_width, int gauge_height, const View& view,
               Frame* frame)
{
    const uint32_t dim = view.light == Light::Night ? NightBrightness : FullBrightness;
    frame->Resize(FrameSize(gauge_width, view.scale), FrameSize(gauge_height, view.scale));
    frame->Fill(Dimmed(PanelColour, dim));
    for (const ElementState& element : elements) {
        const ELEMENT_HEADER& h = element.record->header;
        const uint32_t brightness = h.image_flags & IMAGE_USE_BRIGHT ? FullBrightness : dim;
        Placement at;
        at.scale = view.scale;
        switch (h.kind) {
        case ELEMENT_TYPE_STATIC_IMAGE:
            at.x = h.position.x;
            at.y = h.position.y;
            DrawPicture(frame, element.picture, at, brightness);
            break;
        case ELEMENT_TYPE_NEEDLE:
            // Turned about the centre of the offset pixel, which lands on the
            // centre of the position pixel.
            at.x = h.position.x + 0.5;
            at.y = h.position.y + 0.5;
            at.pivot_x = h.offset.x + 0.5;
            at.pivot_y = h.offset.y + 0.5;
            at.degrees = element.degrees;
            DrawPicture(frame, element.picture, at, brightness);
            break;
        case ELEMENT_TYPE_STRING:
            DrawString(frame, element, view, brightness);
            break;
        }
    }
}
