// arrow_cursors.h: the mouse cursor a gauge's mouse area asks for.
//
// Windows has an up arrow but no down arrow, so both are drawn here, one
// the mirror of the other, so the two halves of a gauge look like a pair.
#pragma once

#include <windows.h>

#include <stdint.h>

// CURSOR_UP_ARROW and CURSOR_DOWN_ARROW get their arrow; any other number,
// CURSOR_NONE among them, the ordinary pointer.
HCURSOR AreaCursor(int32_t cursor);
