#include "gauge_host/core/compositor.h"

#include <math.h>
#include <string.h>

#include <algorithm>

#include "gauge_host/core/seven_segment.h"

namespace {

// Turned needle pictures kept, all needles together: every one of the TIY
// knob's 201 angles at scale 1 (about 85 MB), some 80 at scale 2, well
// inside a 32-bit process. Past it, new angles are drawn straight into
// the frame.
constexpr size_t TurnedNeedleBytes = size_t(128) << 20;

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

uint32_t DayOrNight(const View& view) { return view.light == Light::Night ? NightBrightness : FullBrightness; }

uint32_t Brightness(const ElementState& element, const View& view)
{
    return element.record->header.image_flags & IMAGE_USE_BRIGHT ? FullBrightness : DayOrNight(view);
}

Placement PlacementOf(const ElementState& element, const View& view)
{
    const ELEMENT_HEADER& h = element.record->header;
    Placement at;
    at.scale = view.scale;
    at.x = h.position.x;
    at.y = h.position.y;
    if (h.kind == ELEMENT_TYPE_NEEDLE) {
        // Turned about the centre of the offset pixel, which lands on the
        // centre of the position pixel.
        at.x += 0.5;
        at.y += 0.5;
        at.pivot_x = h.offset.x + 0.5;
        at.pivot_y = h.offset.y + 0.5;
        at.degrees = element.degrees;
    }
    return at;
}

void DrawElement(Frame* frame, const ElementState& element, const View& view)
{
    switch (element.record->header.kind) {
    case ELEMENT_TYPE_STATIC_IMAGE:
    case ELEMENT_TYPE_NEEDLE:
        if (element.picture)
            DrawPicture(frame, *element.picture, PlacementOf(element, view), Brightness(element, view));
        break;
    case ELEMENT_TYPE_STRING:
        DrawString(frame, element, view, Brightness(element, view));
        break;
    }
}

void StartFrame(Frame* frame, int gauge_width, int gauge_height, const View& view)
{
    frame->Resize(FrameSize(gauge_width, view.scale), FrameSize(gauge_height, view.scale));
    frame->Fill(Dimmed(PanelColour, DayOrNight(view)));
}

}  // namespace

int FrameSize(int gauge_size, double scale)
{
    return int(lround(gauge_size * scale));
}

void DrawGauge(const std::vector<ElementState>& elements, int gauge_width, int gauge_height, const View& view,
               Frame* frame)
{
    StartFrame(frame, gauge_width, gauge_height, view);
    for (const ElementState& element : elements)
        DrawElement(frame, element, view);
}

void Compositor::Draw(const std::vector<ElementState>& elements, int gauge_width, int gauge_height, const View& view,
                      Frame* frame)
{
    size_t statics = 0;
    while (statics < elements.size() && elements[statics].record->header.kind == ELEMENT_TYPE_STATIC_IMAGE)
        ++statics;
    Background& b = background_;
    auto same_picture = [](const std::shared_ptr<const Picture>& kept, const ElementState& element) {
        return kept == element.picture;
    };
    if (!(b.view == view && b.width == gauge_width && b.height == gauge_height &&
          std::equal(b.pictures.begin(), b.pictures.end(), elements.begin(), elements.begin() + statics,
                     same_picture))) {
        b = {view, gauge_width, gauge_height, {}, {}};
        for (size_t i = 0; i < statics; ++i)
            b.pictures.push_back(elements[i].picture);
        StartFrame(&b.frame, gauge_width, gauge_height, view);
        for (size_t i = 0; i < statics; ++i)
            DrawElement(&b.frame, elements[i], view);
    }
    *frame = b.frame;

    for (size_t i = statics; i < elements.size(); ++i) {
        const ElementState& element = elements[i];
        const Layer* turned = nullptr;
        if (element.record->header.kind == ELEMENT_TYPE_NEEDLE && element.picture)
            turned = TurnedNeedle(i, element, PlacementOf(element, view), frame->width, frame->height);
        if (turned)
            DrawLayer(frame, *turned, Brightness(element, view));
        else
            DrawElement(frame, element, view);
    }
}

const Layer* Compositor::TurnedNeedle(size_t index, const ElementState& element, const Placement& at, int frame_width,
                                      int frame_height)
{
    TurnedNeedles& cache = needles_[index];
    if (cache.picture != element.picture || cache.scale != at.scale) {
        cached_bytes_ -= cache.bytes;
        cache = {};
        cache.picture = element.picture;
        cache.scale = at.scale;
    }
    auto found = cache.by_degrees.find(at.degrees);
    if (found != cache.by_degrees.end())
        return &found->second;
    if (cache.full)
        return nullptr;  // drawn straight into the frame, the cheapest way once
    Layer layer;
    sampler_.Sample(*element.picture, at, frame_width, frame_height, &layer);
    if (cached_bytes_ + layer.Bytes() > TurnedNeedleBytes) {
        cache.full = true;
        return nullptr;
    }
    cache.bytes += layer.Bytes();
    cached_bytes_ += layer.Bytes();
    return &(cache.by_degrees[at.degrees] = std::move(layer));
}
