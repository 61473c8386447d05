// The knob: a mottled disc with a dark rim, a bar across it that reaches
// below the disc, and a white index mark at the bar's upper end. Drawn in
// greys and stored as indexes into a fixed table of 90 of them.
#include <algorithm>
#include <cmath>

#include "resources/artwork.h"

namespace {

constexpr int KnobWidth = 400, KnobHeight = 457;

// Greys of the colour table, index 0 first; the last one, black, is the
// host's transparent colour and fills the surround only.
std::vector<Rgb> GreyTable()
{
    std::vector<uint8_t> levels = {255};
    for (int g = 172; g >= 166; --g)
        levels.push_back(uint8_t(g));
    levels.push_back(130);
    for (int g = 124; g >= 51; --g)
        levels.push_back(uint8_t(g));
    for (int g : {47, 38, 36, 25, 18, 12, 0})
        levels.push_back(uint8_t(g));
    std::vector<Rgb> table;
    for (uint8_t g : levels)
        table.push_back(Grey(g));
    return table;
}
constexpr uint8_t SurroundIndex = 89;

constexpr Rgb Black = Grey(0), DarkGrey = Grey(51), White = Grey(255);

// A pixel right of and above the pivot (200, 200), like the scale centre
// from (300, 300) on the face, so that the upright knob is concentric with
// the scale.
constexpr Point DiscCentre{202, 199.5};
constexpr double DiscRadius = 195, RimWidth = 2;

// The disc's face: cloudy, lighter toward the lower right.
constexpr double FaceMeanGrey = 91, FaceLightening = 20, FaceMottling = 24;
constexpr double FaceDarkest = 63, FaceLightest = 124;

// The bar: axis on the middle of column 201; outer edges half way into
// columns 166 and 236, so each is one anti-aliased pixel.
constexpr double BarAxis = 201.5, BarHalfWidth = 35;
constexpr double BarBottom = 454.5, BarBottomCornerRadius = 6.5;
// Its lighter inner face narrows from 69 pixels at the ends to 43 at the
// waist, leaving dark borders that widen toward the middle.
constexpr double InnerEndHalfWidth = 34.5, InnerWaistHalfWidth = 21.5;
constexpr double InnerTop = 4, InnerWaist = 233, InnerBottom = 453;
// The disc's edge cuts the bar's upper end: below the rim a dark cap band,
// so the inner face starts inside this radius.
constexpr double CapBandRadius = 188.5;
// The lower end closes with a dark crescent whose top is a shallow arc
// peaking on row 443, a little toward the lit right-hand side.
constexpr double CrescentTop = 443, CrescentRadius = 136, CrescentCentreX = 203;
constexpr double InnerMiddleGrey = 77, InnerCurve = 26, InnerRightLight = 14, InnerMottling = 6;
constexpr double InnerDarkest = 55, InnerLightest = 118;
// A faint lighter line across the cap band, brightest in the middle.
constexpr int CapLineRow = 7, CapLineFirst = 189, CapLineLast = 213;
constexpr double CapLineDim = 60, CapLineBright = 72;

// The index mark on the bar's axis, with a light rim on three sides.
constexpr Box IndexMark = PixelBox(194, 15, 208, 64);
constexpr Box IndexMarkRim = PixelBox(193, 15, 209, 65);
constexpr int IndexRimBright = 172, IndexRimDim = 166;

// Smooth noise in -1..1 from a hashed lattice: the same on every run and
// every machine, since only integer arithmetic picks the lattice values.
double Lattice(int x, int y, uint32_t seed)
{
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFF) / 32767.5 - 1;
}

double ValueNoise(double x, double y, uint32_t seed)
{
    const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    auto smooth = [](double t) { return t * t * (3 - 2 * t); };
    const double tx = smooth(x - x0), ty = smooth(y - y0);
    const double top = Lattice(x0, y0, seed) + (Lattice(x0 + 1, y0, seed) - Lattice(x0, y0, seed)) * tx;
    const double bottom =
        Lattice(x0, y0 + 1, seed) + (Lattice(x0 + 1, y0 + 1, seed) - Lattice(x0, y0 + 1, seed)) * tx;
    return top + (bottom - top) * ty;
}

// Clouds: four octaves from 48-pixel cells down to 6.
double Clouds(Point p, uint32_t seed)
{
    double sum = 0, weight = 1, total = 0, cell = 48;
    for (int octave = 0; octave < 4; ++octave) {
        sum += weight * ValueNoise(p.x / cell, p.y / cell, seed + octave);
        total += weight;
        weight /= 2;
        cell /= 2;
    }
    return sum / total;
}

uint8_t ClampGrey(double value, double darkest, double lightest)
{
    return uint8_t(std::lround(std::clamp(value, darkest, lightest)));
}

Rgb DiscFace(Point p)
{
    const double toward_lower_right =
        ((p.x - DiscCentre.x) + (p.y - DiscCentre.y)) / (std::sqrt(2.0) * DiscRadius);
    return Grey(ClampGrey(FaceMeanGrey + FaceLightening * toward_lower_right + FaceMottling * Clouds(p, 1),
                          FaceDarkest, FaceLightest));
}

double InnerHalfWidth(double y)
{
    const double reach = y < InnerWaist ? InnerWaist - InnerTop : InnerBottom - InnerWaist;
    const double t = (y - InnerWaist) / reach;
    return InnerWaistHalfWidth + (InnerEndHalfWidth - InnerWaistHalfWidth) * t * t;
}

Rgb BarInnerFace(Point p)
{
    const double u = (p.x - BarAxis) / InnerHalfWidth(p.y);
    return Grey(ClampGrey(InnerMiddleGrey + InnerCurve * u * u + InnerRightLight * u +
                              InnerMottling * Clouds(p, 7),
                          InnerDarkest, InnerLightest));
}

void DrawDisc(Canvas& canvas)
{
    canvas.Fill(Disc(DiscCentre, DiscRadius), DarkGrey);
    canvas.Fill(Disc(DiscCentre, DiscRadius - RimWidth), DiscFace);
}

void DrawBar(Canvas& canvas)
{
    // Above the disc's centre the bar ends at the disc's edge.
    const Box outer{BarAxis - BarHalfWidth, DiscCentre.y - DiscRadius, BarAxis + BarHalfWidth, BarBottom};
    const Shape lower_half = Rect({0, DiscCentre.y, double(KnobWidth), double(KnobHeight)});
    const Shape within_disc_or_below{outer, [disc = Disc(DiscCentre, DiscRadius), lower_half](Point p) {
                                         return disc.contains(p) || lower_half.contains(p);
                                     }};
    canvas.Fill(Intersection(RoundedRect(outer, {0, 0, BarBottomCornerRadius, BarBottomCornerRadius}),
                             within_disc_or_below),
                DarkGrey);

    const Point crescent_centre{CrescentCentreX, CrescentTop + CrescentRadius};
    const Box inner_bounds{BarAxis - InnerEndHalfWidth, InnerTop, BarAxis + InnerEndHalfWidth, InnerBottom};
    const Shape inner{inner_bounds, [crescent = Disc(crescent_centre, CrescentRadius),
                                     cap = Disc(DiscCentre, CapBandRadius)](Point p) {
                          if (p.y < InnerTop || p.y >= InnerBottom || std::abs(p.x - BarAxis) >= InnerHalfWidth(p.y))
                              return false;
                          return p.y < DiscCentre.y ? cap.contains(p) : !crescent.contains(p);
                      }};
    canvas.Fill(inner, BarInnerFace);

    canvas.Fill(Rect(PixelBox(CapLineFirst, CapLineRow, CapLineLast, CapLineRow)), [](Point p) {
        const double middle = (CapLineFirst + CapLineLast + 1) / 2.0;
        const double t = std::abs(p.x - middle) / ((CapLineLast - CapLineFirst + 1) / 2.0);
        return Grey(uint8_t(std::lround(CapLineBright - (CapLineBright - CapLineDim) * t)));
    });
}

void DrawIndexMark(Canvas& canvas)
{
    canvas.Fill(Rect(IndexMarkRim), [](Point p) {
        const double t = (p.y - IndexMarkRim.top) / (IndexMarkRim.bottom - IndexMarkRim.top);
        return Grey(uint8_t(std::lround(IndexRimBright - (IndexRimBright - IndexRimDim) * t)));
    });
    canvas.Fill(Rect(IndexMark), White);
}

// The nearest table grey; only undrawn pixels become the transparent black.
uint8_t TableIndex(const std::vector<Rgb>& table, Rgb colour)
{
    if (colour == Black)
        return SurroundIndex;
    int best = 0;
    for (int i = 1; i < SurroundIndex; ++i)
        if (std::abs(table[i].g - colour.g) < std::abs(table[best].g - colour.g))
            best = i;
    return uint8_t(best);
}

}  // namespace

IndexedImage DrawKnob()
{
    Canvas canvas(KnobWidth, KnobHeight, Black);
    DrawDisc(canvas);
    DrawBar(canvas);
    DrawIndexMark(canvas);
    const Image drawn = canvas.Resolve();

    IndexedImage knob;
    knob.width = KnobWidth;
    knob.height = KnobHeight;
    knob.palette = GreyTable();
    for (const Rgb& colour : drawn.pixels)
        knob.indices.push_back(TableIndex(knob.palette, colour));
    return knob;
}
