// The face bitmap (4357) as ZARO.gau carries it: surround, bezel and dial,
// ticks, numerals, pivot mark, readout windows and caption where the
// element tree and the knob expect them.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tests/artwork/artwork_geometry.h"

namespace {

constexpr Colour Grey(uint8_t g) { return {g, g, g}; }

class FaceArtwork : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(LoadModuleArtwork().error, ""); }

    const Bitmap& face = LoadModuleArtwork().face;

    bool IsMark(int x, int y) const { return face.at(x, y) != Grey(DialGrey); }
    // Coverage of a white mark over the dial, 0..1.
    double Coverage(int x, int y) const { return (face.at(x, y).g - DialGrey) / double(255 - DialGrey); }
};

TEST_F(FaceArtwork, BlackIsExactlyTheSurroundConnectedToTheCorners)
{
    const BlackRegions black = FloodBlackFromCorners(
        face.width, face.height, [&](int x, int y) { return face.at(x, y) == Grey(0); });
    EXPECT_EQ(black.reached_from_corners, black.all) << "black pixels inside the shape";

    // 15 columns left, 12 right, 25 rows at the top, 2 at the bottom.
    struct Line {
        bool row;
        int at;
        std::vector<int> black;
    } lines[] = {{true, 300, {}}, {false, 301, {}}};
    for (int i = 0; i < 15; ++i)
        lines[0].black.push_back(i);
    for (int i = 588; i < 600; ++i)
        lines[0].black.push_back(i);
    for (int i = 0; i < 25; ++i)
        lines[1].black.push_back(i);
    lines[1].black.insert(lines[1].black.end(), {598, 599});
    for (const Line& line : lines) {
        std::vector<int> found;
        for (int i = 0; i < 600; ++i)
            if ((line.row ? face.at(i, line.at) : face.at(line.at, i)) == Grey(0))
                found.push_back(i);
        EXPECT_EQ(found, line.black) << (line.row ? "row " : "column ") << line.at;
    }

    // The first stored row is the bottom one, all black.
    EXPECT_EQ(face.first_stored_row, std::vector<uint8_t>(1800, 0));
}

TEST_F(FaceArtwork, RoundedSquareBezelAndDial)
{
    const struct {
        int x, y;
        uint8_t grey;
        const char* what;
    } probes[] = {
        {15, 300, 51, "left edge, half covered"},   {16, 300, 102, "bezel left"},
        {22, 300, 102, "bezel, last column"},       {23, 300, 25, "dial, first column"},
        {300, 25, 51, "top edge, half covered"},    {300, 26, 102, "bezel top"},
        {300, 33, 63, "row 33, half bezel half dial"}, {300, 34, 25, "dial, first row"},
        {587, 300, 102, "bezel right"},             {579, 300, 25, "dial, last column"},
        {580, 300, 102, "bezel right, inner"},      {300, 597, 102, "bezel bottom"},
        {300, 589, 25, "dial, last row"},           {300, 590, 102, "bezel bottom, inner"},
        {20, 30, 0, "beyond the top-left arc"},     {33, 43, 102, "top-left corner band"},
        {300, 450, 25, "dial"},
    };
    for (const auto& p : probes)
        EXPECT_EQ(face.at(p.x, p.y), Grey(p.grey)) << p.what << " at " << p.x << "," << p.y;
}

TEST_F(FaceArtwork, GreysEverywhereOutsideTheWindows)
{
    long coloured = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 600; ++x)
            if (!LeftWindow.Contains(x, y) && !RightWindow.Contains(x, y))
                coloured += !face.at(x, y).IsGrey();
    EXPECT_EQ(coloured, 0);
}

TEST_F(FaceArtwork, WhiteMarksBlendIntoTheDialInFourSteps)
{
    std::map<int, long> levels;
    // The dial well inside its edge, less its rounded corners and the windows.
    const PixelRange dial{30, 40, 572, 582};
    for (int y = dial.y0; y <= dial.y1; ++y)
        for (int x = dial.x0; x <= dial.x1; ++x)
            if (!((x < 95 || x > 507) && (y < 105 || y > 518)) && !Grown(LeftWindow, 1).Contains(x, y) &&
                !Grown(RightWindow, 1).Contains(x, y))
                ++levels[face.at(x, y).g];
    std::set<int> found;
    for (auto [level, count] : levels)
        found.insert(level);
    EXPECT_EQ(found, (std::set<int>{25, 82, 140, 197, 255}));
}

// Each tick's coverage, measured as a shape: area, position along and
// across its radius, length, width and direction.
TEST_F(FaceArtwork, TicksAreRadialBarsAtTheirScaleValues)
{
    struct Moments {
        double area = 0, along = 0, across = 0, along2 = 0, across2 = 0, cross = 0;
    };
    std::map<int, Moments> ticks;
    long stray = 0;
    for (int y = 60; y < 360; ++y)
        for (int x = 60; x < 545; ++x) {
            const double cx = x + 0.5, cy = y + 0.5, r = ScaleRadius(cx, cy);
            if (r < 180 || r > 223 || !IsMark(x, y))
                continue;
            const double angle = ScaleAngle(cx, cy);
            const int value = int(lround(angle / 20)) * 20;
            if (fabs(angle - value) > 3 || abs(value) > 100) {
                ++stray;  // a minor tick or a numeral reaching in
                continue;
            }
            const double a = Radians(value), w = Coverage(x, y);
            const double along = (cx - ScaleX) * sin(a) - (cy - ScaleY) * cos(a);
            const double across = (cx - ScaleX) * cos(a) + (cy - ScaleY) * sin(a);
            Moments& m = ticks[value];
            m.area += w;
            m.along += w * along;
            m.across += w * across;
            m.along2 += w * along * along;
            m.across2 += w * across * across;
            m.cross += w * along * across;
        }
    EXPECT_EQ(stray, 0);
    ASSERT_EQ(ticks.size(), 11u);
    for (int value : TickValues) {
        SCOPED_TRACE(testing::Message() << "tick " << value);
        const Moments& m = ticks[value];
        ASSERT_GT(m.area, 0);
        const double along = m.along / m.area, across = m.across / m.area;
        const double var_along = m.along2 / m.area - along * along;
        const double var_across = m.across2 / m.area - across * across;
        const double cov = m.cross / m.area - along * across;
        // A uniform bar of length L has variance L^2 / 12 along it.
        const double length = sqrt(12 * var_along), width = sqrt(12 * var_across);
        EXPECT_NEAR(along - length / 2, 186.5, 1.0) << "inner end";
        EXPECT_NEAR(along + length / 2, 220.5, 1.0) << "outer end";
        EXPECT_NEAR(width, 7.5, 0.4);
        EXPECT_NEAR(m.area, 7.5 * 34.5, 6);
        EXPECT_NEAR(across, 0, 0.5) << "off its radius";
        EXPECT_NEAR(Degrees(0.5 * atan2(2 * cov, var_along - var_across)), 0, 0.5) << "not radial";
    }
}

TEST_F(FaceArtwork, ZeroTickCoversItsColumnsAndRows)
{
    EXPECT_EQ(BoundingBox({290, 74, 312, 118}, [&](int x, int y) { return IsMark(x, y); }),
              (PixelRange{298, 78, 305, 112}));
    const struct {
        PixelRange pixels;
        uint8_t grey;
        const char* what;
    } parts[] = {
        {{298, 79, 304, 112}, 255, "full columns"},
        {{305, 79, 305, 112}, 140, "half-covered column 305"},
        {{298, 78, 304, 78}, 140, "half-covered row 78"},
        {{305, 78, 305, 78}, 82, "quarter-covered corner"},
    };
    for (const auto& part : parts)
        for (int y = part.pixels.y0; y <= part.pixels.y1; ++y)
            for (int x = part.pixels.x0; x <= part.pixels.x1; ++x)
                EXPECT_EQ(face.at(x, y), Grey(part.grey)) << part.what << " at " << x << "," << y;
}

TEST_F(FaceArtwork, LabelsFillTheirBoxesBeyondTheirTicks)
{
    for (const Label& label : Labels) {
        SCOPED_TRACE(testing::Message() << "\"" << label.text << "\" at " << label.value);
        EXPECT_EQ(BoundingBox(Grown(label.box, 2), [&](int x, int y) { return IsMark(x, y); }), label.box);
        const double cx = (label.box.x0 + label.box.x1 + 1) / 2.0, cy = (label.box.y0 + label.box.y1 + 1) / 2.0;
        EXPECT_NEAR(ScaleAngle(cx, cy), label.value, 2.0);
        // 237 to 250 from the scale centre, to within half a pixel.
        EXPECT_GE(ScaleRadius(cx, cy), 236.5);
        EXPECT_LE(ScaleRadius(cx, cy), 250.5);
    }
}

// Stroke widths as the summed coverage across one stroke, and the zero's
// straight sides.
TEST_F(FaceArtwork, LetteringIsLight)
{
    const struct {
        int row, x0, x1;
        double width;
        const char* what;
    } strokes[] = {
        {56, 291, 300, 3.0, "left side of the top \"0\""},
        {56, 302, 311, 3.0, "right side of the top \"0\""},
        {340, 30, 40, 2.5, "stem of the left \"1\""},
        {73, 377, 394, 2.5 * 2, "both sides of the right \"20\"'s zero"},
        {575, 144, 160, 2.5, "stem of the caption's T"},
    };
    for (const auto& s : strokes) {
        double width = 0;
        for (int x = s.x0; x <= s.x1; ++x)
            width += Coverage(x, s.row);
        EXPECT_NEAR(width, s.width, 0.3) << s.what;
    }
    for (int y = 52; y <= 60; ++y) {
        int first = 291;
        while (!IsMark(first, y))
            ++first;
        EXPECT_EQ(first, 291) << "the top zero's left side on row " << y;
    }
}

TEST_F(FaceArtwork, PivotMark)
{
    EXPECT_EQ(BoundingBox({285, 283, 317, 315}, [&](int x, int y) { return IsMark(x, y); }),
              (PixelRange{295, 293, 307, 305}));
    long marked_in_gap = 0;
    for (int y = 290; y < 299; ++y)
        for (int x = 290; x < 301; ++x)
            marked_in_gap += IsMark(x, y);
    EXPECT_EQ(marked_in_gap, 0) << "the upper-left quarter stays dial grey";
    for (auto [x, y] : {std::pair{301, 299}, {305, 296}, {297, 302}, {304, 303}, {301, 294}, {296, 299}})
        EXPECT_EQ(face.at(x, y), Grey(255)) << x << "," << y;
}

TEST_F(FaceArtwork, LeftWindowPixelValues)
{
    const struct {
        PixelRange pixels;
        Colour colour;
        const char* what;
    } bands[] = {
        {{48, 56, 128, 56}, Grey(76), "outline, top"},
        {{42, 62, 42, 92}, Grey(76), "outline, left"},
        {{48, 98, 128, 98}, Grey(76), "outline, bottom"},
        {{134, 62, 134, 92}, {83, 85, 78}, "outline, right-hand side"},
        {{48, 57, 128, 57}, Grey(55), "shadow, row 57"},
        {{48, 58, 128, 58}, Grey(10), "shadow, row 58"},
        {{43, 62, 43, 92}, Grey(24), "shadow, column 43"},
        {{44, 62, 44, 92}, Grey(10), "shadow, column 44"},
        {{50, 59, 130, 59}, {45, 50, 33}, "margin, row 59"},
        {{50, 60, 130, 60}, {85, 97, 63}, "margin, row 60"},
        {{50, 61, 130, 61}, {137, 156, 101}, "margin, row 61"},
        {{45, 64, 45, 94}, {74, 84, 54}, "margin, column 45"},
        {{46, 64, 46, 94}, {85, 97, 63}, "margin, column 46"},
        {{47, 64, 47, 94}, {137, 156, 101}, "margin, column 47"},
        {{51, 62, 131, 95}, {150, 171, 111}, "pane"},
        {{48, 65, 50, 95}, {150, 171, 111}, "pane, below its rounded corner"},
        {{132, 62, 132, 92}, {122, 137, 95}, "lip, column 132"},
        {{133, 62, 133, 92}, Grey(66), "lip, column 133"},
        {{48, 96, 128, 96}, {102, 106, 94}, "lip, row 96"},
        {{48, 97, 128, 97}, Grey(76), "lip, row 97"},
    };
    for (const auto& band : bands) {
        long wrong = 0;
        for (int y = band.pixels.y0; y <= band.pixels.y1; ++y)
            for (int x = band.pixels.x0; x <= band.pixels.x1; ++x)
                wrong += face.at(x, y) != band.colour;
        EXPECT_EQ(wrong, 0) << band.what;
    }
    EXPECT_NE(face.at(48, 62), (Colour{150, 171, 111})) << "the pane's top-left corner is rounded";
}

TEST_F(FaceArtwork, RightWindowIsTheLeftMoved)
{
    long differ = 0;
    for (int y = LeftWindow.y0 - 1; y <= LeftWindow.y1 + 1; ++y)
        for (int x = LeftWindow.x0 - 1; x <= LeftWindow.x1 + 1; ++x)
            differ += face.at(x, y) != face.at(x + 426, y + 2);
    EXPECT_EQ(differ, 0);
}

// Each pane starts one column right of its readout box and ends on its
// right edge; the left pane ends two rows above its box's bottom, the
// right one starts two rows below its box's top.
TEST_F(FaceArtwork, PanesAgainstTheReadoutBoxes)
{
    const struct {
        PixelRange window, box;
        PixelRange pane;
    } windows[] = {
        {LeftWindow, LeftReadoutBox, {LeftReadoutBox.x0 + 1, LeftReadoutBox.y0, LeftReadoutBox.x1, LeftReadoutBox.y1 - 2}},
        {RightWindow, RightReadoutBox, {RightReadoutBox.x0 + 1, RightReadoutBox.y0 + 2, RightReadoutBox.x1, RightReadoutBox.y1}},
    };
    for (const auto& w : windows) {
        const PixelRange pane =
            BoundingBox(w.window, [&](int x, int y) { return face.at(x, y) == Colour{150, 171, 111}; });
        EXPECT_EQ(pane, w.pane);
        EXPECT_EQ(BoundingBox(Grown(w.window, 2), [&](int x, int y) { return IsMark(x, y); }), w.window)
            << "window outline";
    }
}

TEST_F(FaceArtwork, Caption)
{
    const PixelRange area{120, 555, 480, 589};
    // Columns 144..459: centred on column 301.5.
    EXPECT_EQ(BoundingBox(area, [&](int x, int y) { return IsMark(x, y); }), Caption);

    // Letters are the runs of marked columns; the two word gaps are the only
    // long runs of empty ones.
    std::vector<PixelRange> letters;
    std::vector<int> gaps;
    for (int x = area.x0; x <= area.x1; ++x) {
        const PixelRange column = BoundingBox({x, area.y0, x, area.y1}, [&](int x, int y) { return IsMark(x, y); });
        if (column.x0 > column.x1)
            continue;
        if (letters.empty() || x > letters.back().x1 + 1) {
            if (!letters.empty())
                gaps.push_back(x - letters.back().x1 - 1);
            letters.push_back(column);
        } else {
            letters.back() = {letters.back().x0, std::min(letters.back().y0, column.y0), x,
                              std::max(letters.back().y1, column.y1)};
        }
    }
    ASSERT_EQ(letters.size(), 16u) << "TORQUE INDUCED YAW";
    std::vector<int> long_gaps;
    for (size_t i = 0; i < gaps.size(); ++i)
        if (gaps[i] >= 8)
            long_gaps.push_back(int(i));
    EXPECT_EQ(long_gaps, (std::vector<int>{5, 12})) << "after TORQUE and after INDUCED";
    EXPECT_EQ(gaps[5], 11);
    EXPECT_EQ(gaps[12], 8);

    const struct {
        int letter;
        const char* what;
        int top, bottom;
    } heights[] = {
        {0, "T", 565, 584}, {1, "O", 564, 584}, {3, "Q", 564, 585}, {5, "E", 565, 584},
        {6, "I", 565, 584}, {10, "C", 564, 584}, {13, "Y", 565, 584}, {15, "W", 565, 584},
    };
    for (const auto& h : heights) {
        EXPECT_EQ(letters[h.letter].y0, h.top) << h.what;
        EXPECT_EQ(letters[h.letter].y1, h.bottom) << h.what;
    }
}

}  // namespace
