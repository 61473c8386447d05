#include "gauge_host/core/seven_segment.h"

#include <string.h>

#include <algorithm>

#include "host/gauges.h"

namespace {

// Proportions of a glyph cell, relative to its height.
constexpr double HeightOfBox = 0.78;
constexpr double WidthOfHeight = 0.56;
constexpr double StrokeOfHeight = 0.14;  // bold, and still leaving the bars between the uprights room
constexpr double AdvanceOfWidth = 1.3;
constexpr double GapOfStroke = 0.15;     // the hairline between segments
constexpr double UsableWidth = 0.92;     // of the box, when the text must shrink to fit

// Segments a..g, bit 0 = a (top), clockwise, g the middle bar.
enum Segment { A = 1, B = 2, C = 4, D = 8, E = 16, F = 32, G = 64 };
constexpr uint8_t DigitSegments[10] = {
    A | B | C | D | E | F, B | C, A | B | G | E | D, A | B | G | C | D, F | G | B | C,
    A | F | G | C | D, A | F | G | E | D | C, A | B | C, A | B | C | D | E | F | G, A | B | C | D | F | G,
};

void DrawGlyph(Frame* frame, double x, double y, double w, double h, uint8_t segments, RgbColour colour)
{
    const double t = h * StrokeOfHeight, g = t * GapOfStroke, mid = y + h / 2;
    const FrameBox boxes[7] = {
        {x + t + g, y, x + w - t - g, y + t},                   // a
        {x + w - t, y + g, x + w, mid - g},                     // b
        {x + w - t, mid + g, x + w, y + h - g},                 // c
        {x + t + g, y + h - t, x + w - t - g, y + h},           // d
        {x, mid + g, x + t, y + h - g},                         // e
        {x, y + g, x + t, mid - g},                             // f
        {x + t + g, mid - t / 2, x + w - t - g, mid + t / 2},   // g
    };
    for (int i = 0; i < 7; ++i)
        if (segments & (1 << i))
            FillBox(frame, boxes[i], colour);
}

}  // namespace

void DrawSevenSegmentText(Frame* frame, const FrameBox& box, const char* text, int max_chars, RgbColour colour,
                          uint32_t format_flags)
{
    const int length = int(strnlen(text, size_t(std::max(max_chars, 0))));
    if (length == 0)
        return;
    const double box_width = box.x1 - box.x0, box_height = box.y1 - box.y0;
    const int cells = std::max(length, max_chars);
    double h = box_height * HeightOfBox;
    const double fit = box_width * UsableWidth / (((cells - 1) * AdvanceOfWidth + 1) * WidthOfHeight);
    h = std::min(h, fit);
    const double w = h * WidthOfHeight, advance = w * AdvanceOfWidth;
    const double text_width = (length - 1) * advance + w;

    double x = box.x0, y = box.y0;
    if (format_flags & TEXT_CENTRE)
        x += (box_width - text_width) / 2;
    if (format_flags & TEXT_VERTICAL_CENTRE)
        y += (box_height - h) / 2;
    for (int i = 0; i < length; ++i, x += advance)
        if (text[i] >= '0' && text[i] <= '9')
            DrawGlyph(frame, x, y, w, h, DigitSegments[text[i] - '0'], colour);
}
