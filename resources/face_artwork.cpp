// The face: rounded square and bezel, dial, scale, pivot mark, the two
// readout windows and the caption, painted in that order.
#include <cmath>

#include "resources/artwork.h"
#include "resources/stroke_font.h"

namespace {

constexpr int FaceSize = 600;

constexpr Rgb Black = Grey(0), BezelGrey = Grey(102), DialGrey = Grey(25), White = Grey(255);

// Not centred in the bitmap: the panel places the face by its corner, and
// the host turns the knob about (300, 300), a pixel off the scale centre.
constexpr Box SquareEdge{15.5, 25.5, 588, 598};
constexpr double SquareRadius = 50;
constexpr Box DialEdge{23, 33.5, 580, 590};
constexpr double DialRadius = 42;

// The centre of pixel (301, 299).
constexpr Point ScaleCentre{301.5, 299.5};

// One degree per scale unit, clockwise from straight up.
constexpr int TickValues[] = {-100, -80, -60, -40, -20, 0, 20, 40, 60, 80, 100};
constexpr double TickInnerRadius = 186.5, TickOuterRadius = 221;
// 7.5 wide, a quarter pixel clockwise of the radius, which puts the "0"
// bar on whole columns 298..304 and half of 305.
constexpr double TickAcrossFrom = -3.5, TickAcrossTo = 4;

constexpr double NumeralStroke = 2.5, TopNumeralStroke = 3;

// Ink that touches pixels x0..x1, y0..y1 and no others at 2 x 2 samples:
// every edge half way into its outer pixel.
constexpr Box InkBox(int x0, int y0, int x1, int y1)
{
    return {x0 + 0.5, y0 + 0.5, x1 + 0.5, y1 + 0.5};
}

struct Label {
    const char* text;
    Box ink;
    double stroke;
};

// Each label sits just beyond its tick's outer end, centred on the tick's
// radius to within two degrees.
constexpr Label Labels[] = {
    {"0", InkBox(291, 40, 311, 71), TopNumeralStroke},
    {"20", InkBox(205, 61, 238, 84), NumeralStroke},   {"20", InkBox(360, 61, 394, 84), NumeralStroke},
    {"40", InkBox(129, 102, 162, 125), NumeralStroke}, {"40", InkBox(432, 102, 465, 125), NumeralStroke},
    {"60", InkBox(68, 171, 102, 194), NumeralStroke},  {"60", InkBox(500, 171, 533, 194), NumeralStroke},
    {"80", InkBox(45, 248, 79, 271), NumeralStroke},   {"80", InkBox(525, 248, 558, 271), NumeralStroke},
    {"100", InkBox(30, 324, 78, 347), NumeralStroke},  {"100", InkBox(524, 324, 572, 347), NumeralStroke},
};

constexpr double PivotMarkRadius = 6;
// The quarter of the pivot mark left in dial grey: left of column 301 and
// above row 299.
constexpr Box PivotMarkGap{0, 0, 301, 299};

// The left window; the right one is the same pixels moved by this offset.
constexpr int RightWindowDx = 426, RightWindowDy = 2;
constexpr Box WindowOutline = PixelBox(42, 56, 134, 98);
constexpr double WindowOutlineRadius = 5;
constexpr Box WindowRecess = PixelBox(43, 57, 133, 97);
constexpr double WindowRecessRadius = 4;
constexpr Box WindowPane = PixelBox(48, 62, 131, 95);
constexpr double WindowPaneCorner = 3;
constexpr Rgb OutlineGrey = Grey(76), OutlineRightSide{83, 85, 78};
constexpr Rgb PaneGreen{150, 171, 111};
// Outermost first.
constexpr Rgb TopShadow[2] = {Grey(55), Grey(10)};
constexpr Rgb LeftShadow[2] = {Grey(24), Grey(10)};
constexpr Rgb TopMargin[3] = {{45, 50, 33}, {85, 97, 63}, {137, 156, 101}};
constexpr Rgb LeftMargin[3] = {{74, 84, 54}, {85, 97, 63}, {137, 156, 101}};
constexpr Rgb RightLip[2] = {{122, 137, 95}, Grey(66)};   // columns 132, 133
constexpr Rgb BottomLip[2] = {{102, 106, 94}, Grey(76)};  // rows 96, 97

constexpr const char* CaptionWords[] = {"TORQUE", "INDUCED", "YAW"};
constexpr int CaptionFirstColumn = 144, CaptionLastColumn = 459;
constexpr int CaptionWordGaps[] = {11, 8};  // empty columns between the words
constexpr double CaptionCapTop = 565.5, CaptionBaseline = 584.5;
constexpr double CaptionStroke = 2.5;

void DrawSquareAndDial(Canvas& canvas)
{
    canvas.Fill(RoundedRect(SquareEdge, SquareRadius), BezelGrey);
    canvas.Fill(RoundedRect(DialEdge, DialRadius), DialGrey);
}

void DrawTicks(Canvas& canvas)
{
    for (int value : TickValues)
        canvas.Fill(RadialBar(ScaleCentre, value, TickInnerRadius, TickOuterRadius, TickAcrossFrom,
                              TickAcrossTo),
                    White);
}

void DrawNumerals(Canvas& canvas)
{
    for (const Label& label : Labels)
        canvas.Fill(Strokes(LayOutText(label.text, label.ink, label.stroke), label.stroke), White);
}

void DrawPivotMark(Canvas& canvas)
{
    canvas.Fill(Difference(Disc(ScaleCentre, PivotMarkRadius), Rect(PivotMarkGap)), White);
}

// The recess between outline and pane, by pixel of the left window: shadow
// cast by the upper and left rim, a shaded margin falling toward the pane,
// a lit lip on the right and bottom. Corners where two bands meet are
// mitred. The pane's own pixels get the innermost margin colour, which
// shows where the pane's corner is rounded.
Rgb RecessColour(int x, int y)
{
    const int top = y - WindowRecess.top, left = x - WindowRecess.left;
    if (top < 2 && top <= left)
        return TopShadow[top];
    if (left < 2)
        return LeftShadow[left];
    if (x >= WindowPane.right)
        return RightLip[x - int(WindowPane.right)];
    if (y >= WindowPane.bottom)
        return BottomLip[y - int(WindowPane.bottom)];
    if (top < 5 && top - 2 <= left - 2)
        return TopMargin[top - 2];
    if (left < 5)
        return LeftMargin[left - 2];
    return TopMargin[2];
}

void DrawWindow(Canvas& canvas, int dx, int dy)
{
    auto moved = [dx, dy](Box box) { return Box{box.left + dx, box.top + dy, box.right + dx, box.bottom + dy}; };
    const Shape outline = RoundedRect(moved(WindowOutline), WindowOutlineRadius);
    canvas.Fill(outline, OutlineGrey);
    const Box right_side{WindowOutline.right - 1, WindowOutline.top, WindowOutline.right, WindowOutline.bottom};
    canvas.Fill(Intersection(outline, Rect(moved(right_side))), OutlineRightSide);
    canvas.Fill(RoundedRect(moved(WindowRecess), WindowRecessRadius), [dx, dy](Point p) {
        return RecessColour(int(std::floor(p.x)) - dx, int(std::floor(p.y)) - dy);
    });
    canvas.Fill(RoundedRect(moved(WindowPane), {WindowPaneCorner, 0, 0, 0}), PaneGreen);
}

// The words keep one letter spacing as nearly as whole-pixel word widths
// allow; each word is then fitted to its columns.
void DrawCaption(Canvas& canvas)
{
    constexpr int words = 3;
    const double scale = CaptionBaseline - CaptionCapTop - CaptionStroke;
    int gap_columns = 0;
    for (int gap : CaptionWordGaps)
        gap_columns += gap;
    // Ink width of all words, each one's ink running from half way into its
    // first column to half way into its last.
    const double total_ink = (CaptionLastColumn - CaptionFirstColumn + 1) - gap_columns - words;
    double centre_lines = 0;
    int letter_gaps = 0;
    for (const char* word : CaptionWords) {
        centre_lines += CentreLineWidth(word) * scale + CaptionStroke;
        letter_gaps += int(std::string_view(word).size()) - 1;
    }
    const double spacing = (total_ink - centre_lines) / letter_gaps;

    int column = CaptionFirstColumn;
    for (int w = 0; w < words; ++w) {
        const std::string_view word = CaptionWords[w];
        const double natural = CentreLineWidth(word) * scale + CaptionStroke + (word.size() - 1) * spacing;
        const int last = w == words - 1 ? CaptionLastColumn : column + int(std::lround(natural));
        const Box ink{column + 0.5, CaptionCapTop, last + 0.5, CaptionBaseline};
        canvas.Fill(Strokes(LayOutText(word, ink, CaptionStroke), CaptionStroke), White);
        if (w < words - 1)
            column = last + CaptionWordGaps[w] + 1;
    }
}

}  // namespace

Image DrawFace()
{
    Canvas canvas(FaceSize, FaceSize, Black);
    DrawSquareAndDial(canvas);
    DrawTicks(canvas);
    DrawNumerals(canvas);
    DrawPivotMark(canvas);
    DrawWindow(canvas, 0, 0);
    DrawWindow(canvas, RightWindowDx, RightWindowDy);
    DrawCaption(canvas);
    return canvas.Resolve();
}
