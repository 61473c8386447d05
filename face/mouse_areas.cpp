// The mouse areas: the left half turns the setting left, the right half
// right, both repeating while the left button is held.
#include "face/face.h"

#include "yaw/yaw_controller.h"

const char TooltipText[] = "Torque Induced Yaw, click left or right half to trim";

constexpr uint32_t ClickAndRepeat = MOUSE_LEFT_SINGLE | MOUSE_REPEAT;

constinit MOUSERECT GaugeMouseAreas[] = {
    // type             x    y   w    h    cursor             help flags           event function
    {MOUSE_PARENT,      0,   0,  0,   0,   CURSOR_NONE,       0,   0,              0,    {.function = nullptr},     nullptr},
    {MOUSE_USER,        0,   0,  0,   0,   CURSOR_NONE,       0,   0,              0,    {.tooltip = TooltipText},  nullptr},
    {MOUSE_CHILD,       0,   0,  299, 599, CURSOR_DOWN_ARROW, 0,   ClickAndRepeat, 0,    {.function = YawDecrease}, nullptr},
    {MOUSE_CHILD,       300, 0,  299, 599, CURSOR_UP_ARROW,   0,   ClickAndRepeat, 0,    {.function = YawIncrease}, nullptr},
    {MOUSE_PARENT_END,  0,   0,  0,   0,   CURSOR_NONE,       0,   0,              0,    {.function = nullptr},     nullptr},
    {MOUSE_END,         0,   0,  0,   0,   CURSOR_NONE,       0,   0,              0,    {.function = nullptr},     nullptr},
};
