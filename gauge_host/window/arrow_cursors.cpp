#include "gauge_host/window/arrow_cursors.h"

#include <stdlib.h>

#include "host/gauges.h"

namespace {

constexpr int Size = 32;  // the cursor size every Windows display takes
constexpr int RowBytes = Size / 8;
constexpr int TipRow = 1;
constexpr int HeadRows = 13;  // the head widens one pixel a side per row
constexpr int ShaftHalfWidth = 3;
constexpr int TailRow = 29;
constexpr int Middle = Size / 2 - 1;

// An arrow pointing up, its tip at (Middle, TipRow).
bool InUpArrow(int x, int y)
{
    if (y < TipRow || y > TailRow)
        return false;
    const int half = y < TipRow + HeadRows ? y - TipRow : ShaftHalfWidth;
    return abs(x - Middle) <= half;
}

bool OnOutline(int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (InUpArrow(x + dx, y + dy))
                return true;
    return false;
}

// White inside a black outline, like the system's own pointer; pointing
// down it is the up arrow upside down, its hot spot still on the tip.
HCURSOR MakeArrow(bool down)
{
    // AND 1 keeps the screen; AND 0 with XOR 1 is white, with XOR 0 black.
    BYTE and_mask[Size * RowBytes], xor_mask[Size * RowBytes];
    for (int y = 0; y < Size; ++y) {
        const int shape_y = down ? Size - 1 - y : y;
        for (int x = 0; x < Size; ++x) {
            const int byte = y * RowBytes + x / 8;
            const BYTE bit = BYTE(0x80 >> (x % 8));
            if (x % 8 == 0)
                and_mask[byte] = xor_mask[byte] = 0;
            if (InUpArrow(x, shape_y))
                xor_mask[byte] |= bit;
            else if (!OnOutline(x, shape_y))
                and_mask[byte] |= bit;
        }
    }
    const int hot_y = down ? Size - 1 - TipRow : TipRow;
    return CreateCursor(GetModuleHandleA(nullptr), Middle, hot_y, Size, Size, and_mask, xor_mask);
}

}  // namespace

HCURSOR AreaCursor(int32_t cursor)
{
    static const HCURSOR up = MakeArrow(false), down = MakeArrow(true), pointer = LoadCursor(nullptr, IDC_ARROW);
    switch (cursor) {
    case CURSOR_UP_ARROW: return up ? up : pointer;
    case CURSOR_DOWN_ARROW: return down ? down : pointer;
    default: return pointer;
    }
}
