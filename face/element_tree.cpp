// The element tree: FaceBackground -> RightReadout -> LeftReadout -> YawKnob,
// each next list a separate zero-terminated list of one element.
#include "face/face.h"

#include "module/exports.h"
#include "yaw/yaw_controller.h"

static ELEMENT_HEADER* FaceBackgroundNext[] = {&RightReadout.header, nullptr};
static ELEMENT_HEADER* RightReadoutNext[] = {&LeftReadout.header, nullptr};
static ELEMENT_HEADER* LeftReadoutNext[] = {&YawKnob.header, nullptr};

constexpr uint32_t ReadoutFlags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_USE_BRIGHT;

constexpr ELEMENT_HEADER Element(uint32_t kind, int32_t bitmap, PIXPOINT position,
                                 PIXPOINT offset, uint32_t image_flags,
                                 ELEMENT_HEADER** next)
{
    return {
        .kind = kind,
        .bitmap = bitmap,
        .position = position,
        .previous_position = {0, 0},
        .offset = offset,
        .gauge = &GaugeHeader,
        .previous = nullptr,
        .next = next,
        .failures = nullptr,
        .image_flags = image_flags,
        .special_flags = 0,
        .reserved = 0,
    };
}

// The face is drawn with transparency only: its black surround lets the
// panel show through. The readouts and the knob use all three bits.
constinit ELEMENT_STATIC_IMAGE FaceBackground = {
    Element(ELEMENT_TYPE_STATIC_IMAGE, FACE_BITMAP, {0, 0}, {0, 0}, IMAGE_USE_TRANSPARENCY, FaceBackgroundNext)};

constexpr ELEMENT_STRING Readout(PIXPOINT position, ELEMENT_HEADER** next, StringCallback callback)
{
    return {
        .header = Element(ELEMENT_TYPE_STRING, BITMAP_NONE, position, {0, 0}, ReadoutFlags, next),
        .source_variables = {786, MonitoredVariable, 421},
        .source_values = {0.0, 0.0, 0.0},
        .callback = callback,
        .text = nullptr,
        .box_width = 85,
        .box_height = 36,
        .max_chars = 3,
        .text_colour = 0x00141414,
        .background_colour = 0x00000000,
        .highlight_colour = 0x005C5C5C,
        .font_face = "Quartz",
        .font_weight = 700,
        .charset = 1,
        .format_flags = TEXT_CENTRE | TEXT_VERTICAL_CENTRE | TEXT_SINGLE_LINE,
        .highlights = nullptr,
    };
}

constinit ELEMENT_STRING RightReadout = Readout({473, 62}, RightReadoutNext, RightReadoutCallback);
constinit ELEMENT_STRING LeftReadout = Readout({47, 62}, LeftReadoutNext, LeftReadoutCallback);

constinit ELEMENT_NEEDLE YawKnob = {
    .header = Element(ELEMENT_TYPE_NEEDLE, KNOB_BITMAP, {300, 300}, {200, 200}, ReadoutFlags, nullptr),
    .source_variable = VARIABLE_NONE,
    .source_value = 0.0,
    .callback = KnobValueCallback,
    .angle_table = nullptr,
    .angle_count = 0,
    .turn_rate_limit = 0,
};
