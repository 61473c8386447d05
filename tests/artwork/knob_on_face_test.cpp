// Face and knob together, as the host lays them: the knob turned clockwise
// by its value in degrees about knob pixel (200, 200), which sits on face
// pixel (300, 300). Where it lands decides whether the instrument reads.
#include <gtest/gtest.h>

#include <set>

#include "tests/artwork/artwork_geometry.h"

namespace {

constexpr uint8_t Surround = 89, White = 0;

// For each face pixel, the knob's colour index drawn over it, or Surround.
// The turn is sampled nearest-neighbour from the face pixel's centre, the
// way a plain rotating blitter does it.
std::vector<uint8_t> KnobOverFace(const Bitmap& knob, double angle)
{
    std::vector<uint8_t> over(600 * 600, Surround);
    const double c = cos(Radians(angle)), s = sin(Radians(angle));
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 600; ++x) {
            const double dx = x + 0.5 - 300.5, dy = y + 0.5 - 300.5;
            const int kx = int(floor(200.5 + dx * c + dy * s)), ky = int(floor(200.5 - dx * s + dy * c));
            if (kx >= 0 && ky >= 0 && kx < knob.width && ky < knob.height)
                over[y * 600 + x] = knob.index(kx, ky);
        }
    return over;
}

class KnobOnFace : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(LoadModuleArtwork().error, ""); }

    const Bitmap& face = LoadModuleArtwork().face;
    const Bitmap& knob = LoadModuleArtwork().knob;

    bool IsMark(int x, int y) const { return face.at(x, y) != Colour{DialGrey, DialGrey, DialGrey}; }

    // Numeral ink pixels of a label the knob hides.
    long CoveredInk(const std::vector<uint8_t>& over, const Label& label, long* ink = nullptr) const
    {
        long covered = 0, all = 0;
        for (int y = label.box.y0; y <= label.box.y1; ++y)
            for (int x = label.box.x0; x <= label.box.x1; ++x)
                if (IsMark(x, y)) {
                    ++all;
                    covered += over[y * 600 + x] != Surround;
                }
        if (ink)
            *ink = all;
        return covered;
    }

    long CoveredIn(const std::vector<uint8_t>& over, const PixelRange& r) const
    {
        long covered = 0;
        for (int y = r.y0; y <= r.y1; ++y)
            for (int x = r.x0; x <= r.x1; ++x)
                covered += over[y * 600 + x] != Surround;
        return covered;
    }

    // White tick pixels of one tick, with their distance from the scale centre.
    std::vector<std::pair<int, double>> TickPixels(int value) const
    {
        std::vector<std::pair<int, double>> pixels;
        for (int y = 60; y < 360; ++y)
            for (int x = 60; x < 545; ++x) {
                const double r = ScaleRadius(x + 0.5, y + 0.5);
                if (r > 180 && r < 223 && fabs(ScaleAngle(x + 0.5, y + 0.5) - value) < 3 &&
                    face.at(x, y).g == 255)
                    pixels.push_back({y * 600 + x, r});
            }
        return pixels;
    }
};

TEST_F(KnobOnFace, UprightKnobHidesNoNumeralWindowOrCaption)
{
    const std::vector<uint8_t> over = KnobOverFace(knob, 0);
    for (const Label& label : Labels)
        EXPECT_EQ(CoveredInk(over, label), 0) << "\"" << label.text << "\" at " << label.value;
    for (const PixelRange& r : {LeftWindow, RightWindow, Caption})
        EXPECT_EQ(CoveredIn(over, r), 0) << testing::PrintToString(r);
    EXPECT_EQ(BoundingBox({0, 0, 599, 599}, [&](int x, int y) { return over[y * 600 + x] != Surround; }).y1, 554)
        << "lowest row of the bar, above the caption";
}

TEST_F(KnobOnFace, UprightIndexMarkPointsAtTheZero)
{
    const std::vector<uint8_t> over = KnobOverFace(knob, 0);
    const PixelRange mark = BoundingBox({0, 0, 599, 599}, [&](int x, int y) { return over[y * 600 + x] == White; });
    EXPECT_EQ(mark, (PixelRange{294, 115, 308, 164}));
    // On the line of the "0" tick, just inside its inner end (row 112).
    double sum = 0, weight = 0;
    for (int y = 79; y <= 112; ++y)
        for (int x = 296; x <= 307; ++x) {
            const double w = face.at(x, y).g - DialGrey;
            sum += w * (x + 0.5);
            weight += w;
        }
    EXPECT_NEAR((mark.x0 + mark.x1 + 1) / 2.0, sum / weight, 0.5);
    EXPECT_GT(mark.y0, 112);
    EXPECT_LE(mark.y0, 116);
}

// The disc hides the inner 9 or so pixels of every tick; about 25 show.
TEST_F(KnobOnFace, DiscHidesTheInnerEndOfEveryTick)
{
    const std::vector<uint8_t> over = KnobOverFace(knob, 0);
    for (int value : TickValues) {
        double hidden_max = 0, shown_min = 1e9, shown_max = 0;
        for (auto [at, r] : TickPixels(value)) {
            if (over[at] != Surround)
                hidden_max = std::max(hidden_max, r);
            else
                shown_min = std::min(shown_min, r), shown_max = std::max(shown_max, r);
        }
        EXPECT_GT(hidden_max, 186) << "tick " << value;
        EXPECT_NEAR(shown_min, 195, 1.5) << "tick " << value;
        EXPECT_NEAR(shown_max - shown_min, 25, 1.5) << "tick " << value;
        EXPECT_LT(hidden_max, shown_min + 1) << "tick " << value;
    }
}

TEST_F(KnobOnFace, TurnedFullyTheIndexMarkLiesOnTheEndTick)
{
    for (int angle : {100, -100}) {
        SCOPED_TRACE(testing::Message() << "knob at " << angle);
        const std::vector<uint8_t> over = KnobOverFace(knob, angle);
        double sx = 0, sy = 0, r_min = 1e9, r_max = 0;
        long n = 0;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 600; ++x)
                if (over[y * 600 + x] == White) {
                    sx += x + 0.5;
                    sy += y + 0.5;
                    ++n;
                    r_min = std::min(r_min, ScaleRadius(x + 0.5, y + 0.5));
                    r_max = std::max(r_max, ScaleRadius(x + 0.5, y + 0.5));
                }
        ASSERT_NEAR(n, 750, 40);
        const double cx = sx / n, cy = sy / n;
        EXPECT_NEAR(ScaleAngle(cx, cy), angle, 1.0);
        // The tick's radial line runs through the middle half of the mark (15
        // wide); the host turns about (300, 300), not the scale centre, so the
        // mark swings a couple of pixels off the radius at +100.
        const double a = Radians(angle);
        EXPECT_LT(fabs((cx - ScaleX) * cos(a) + (cy - ScaleY) * sin(a)), 3.75);
        EXPECT_GT(r_min, 130);
        EXPECT_LT(r_max, 188) << "just inside the tick's inner end";

        // The bar's lower end lies over the other side's "80" tick and most
        // of its label.
        const Label& eighty = *std::find_if(std::begin(Labels), std::end(Labels),
                                            [&](const Label& l) { return l.value == -angle * 8 / 10; });
        long ink;
        const long covered = CoveredInk(over, eighty, &ink);
        EXPECT_GT(covered, ink / 2) << "\"80\" at " << eighty.value;
        long tick_covered = 0;
        const auto tick = TickPixels(eighty.value);
        for (auto [at, r] : tick)
            tick_covered += over[at] != Surround;
        EXPECT_GT(tick_covered, long(tick.size()) / 2) << "tick " << eighty.value;
    }
}

// Turning over the whole range: the lower end reaches the far "100" label
// past about 70 degrees and the far "80" past about 88, nothing else at any
// angle. Angles within two degrees of those thresholds, and the far "100"
// once the end has moved on toward the "80", are not asserted.
TEST_F(KnobOnFace, TurningCoversOnlyTheFarLabelsPastSeventyDegrees)
{
    for (int angle = -100; angle <= 100; angle += 2) {
        SCOPED_TRACE(testing::Message() << "knob at " << angle);
        const std::vector<uint8_t> over = KnobOverFace(knob, angle);
        for (const PixelRange& r : {LeftWindow, RightWindow, Caption})
            EXPECT_EQ(CoveredIn(over, r), 0) << testing::PrintToString(r);
        const int turn = abs(angle);
        for (const Label& label : Labels) {
            const bool far_side = angle * label.value < 0;
            bool expected = false;
            if (far_side && abs(label.value) == 100) {
                if ((turn > 68 && turn < 72) || turn > 90)
                    continue;
                expected = turn >= 72;
            } else if (far_side && abs(label.value) == 80) {
                if (turn > 86 && turn < 90)
                    continue;
                expected = turn >= 90;
            }
            EXPECT_EQ(CoveredInk(over, label) > 0, expected) << "\"" << label.text << "\" at " << label.value;
        }
    }
}

}  // namespace
