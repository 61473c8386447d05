// The gauge face as the host sees it: the element tree and the mouse areas.
#pragma once

#include "host/gauges.h"

extern ELEMENT_STATIC_IMAGE FaceBackground;
extern ELEMENT_STRING RightReadout;
extern ELEMENT_STRING LeftReadout;
extern ELEMENT_NEEDLE YawKnob;

extern MOUSERECT GaugeMouseAreas[];

enum { FACE_BITMAP = 4357, KNOB_BITMAP = 4358 };

extern const char TooltipText[];
