// seven_segment.h: the host's stand-in for the readouts' font, a bold
// seven-segment face drawn from boxes.
//
// Usage:
//   DrawSevenSegmentText(&frame, box, "  9", 3, colour, TEXT_CENTRE | TEXT_VERTICAL_CENTRE);
//
// The glyphs take their height from the box and shrink to fit max_chars
// cells across it. Digits and spaces are drawn; any other character
// leaves its cell empty. The format flags centre the text across and down
// the box, as the records' text format flags ask; without them it sits at
// the box's left or top edge.
#pragma once

#include "gauge_host/core/draw_primitives.h"

void DrawSevenSegmentText(Frame* frame, const FrameBox& box, const char* text, int max_chars, RgbColour colour,
                          uint32_t format_flags);

