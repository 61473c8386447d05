// The knob bitmap (4358) as ZARO.gau carries it: its colour table, the
// disc, the bar with its concave inner face and crescent, the index mark,
// and the pivot the host turns it about.
#include <gtest/gtest.h>

#include "tests/artwork/artwork_geometry.h"

namespace {

constexpr uint8_t Surround = 89;

class KnobArtwork : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(LoadModuleArtwork().error, ""); }

    const Bitmap& knob = LoadModuleArtwork().knob;

    int GreyAt(int x, int y) const { return knob.at(x, y).g; }
    bool Drawn(int x, int y) const { return knob.index(x, y) != Surround; }
};

TEST_F(KnobArtwork, ColourTableIsNinetyGreysInOrder)
{
    std::vector<int> expected = {255};
    for (int g = 172; g >= 166; --g)
        expected.push_back(g);
    expected.push_back(130);
    for (int g = 124; g >= 51; --g)
        expected.push_back(g);
    expected.insert(expected.end(), {47, 38, 36, 25, 18, 12, 0});

    ASSERT_EQ(knob.colour_table.size(), 90u);
    std::vector<int> table;
    for (const Colour& c : knob.colour_table) {
        EXPECT_TRUE(c.IsGrey());
        table.push_back(c.g);
    }
    EXPECT_EQ(table, expected);
    EXPECT_EQ(knob.colour_table_reserved, std::vector<uint8_t>(90, 0));
}

TEST_F(KnobArtwork, BlackIsExactlyTheSurroundConnectedToTheCorners)
{
    const BlackRegions black =
        FloodBlackFromCorners(knob.width, knob.height, [&](int x, int y) { return !Drawn(x, y); });
    EXPECT_EQ(black.reached_from_corners, black.all) << "index 89 inside the shape";
    EXPECT_EQ(knob.first_stored_row, std::vector<uint8_t>(400, Surround)) << "bottom row";
    for (int x = 0; x < 400; ++x)
        EXPECT_FALSE(Drawn(x, 455)) << "row 455, column " << x;
    EXPECT_EQ(BoundingBox({0, 0, 399, 456}, [&](int x, int y) { return Drawn(x, y); }),
              (PixelRange{7, 4, 396, 454}));
}

// Outline of the disc along rays that miss the bar, its 2-pixel rim on the
// middle row, and its centre from the chords of columns and rows.
TEST_F(KnobArtwork, Disc)
{
    const PixelRange middle_row = BoundingBox({0, 199, 399, 199}, [&](int x, int y) { return Drawn(x, y); });
    EXPECT_EQ(middle_row, (PixelRange{7, 199, 396, 199}));
    for (int x : {7, 8, 395, 396})
        EXPECT_EQ(GreyAt(x, 199), 51) << "rim at column " << x;
    for (int x : {9, 394})
        EXPECT_GT(GreyAt(x, 199), 51) << "face inside the rim at column " << x;
    EXPECT_EQ(BoundingBox({150, 0, 250, 30}, [&](int x, int y) { return Drawn(x, y); }).y0, 4) << "top row";

    // Centre from chords: each column's extent is symmetric about the
    // centre's row, each row's about its column.
    double sum_x = 0, sum_y = 0;
    const int columns[] = {60, 110, 290, 340}, rows[] = {60, 120, 280, 340};
    for (int c : columns) {
        const PixelRange chord = BoundingBox({c, 0, c, 456}, [&](int x, int y) { return Drawn(x, y); });
        sum_y += (chord.y0 + chord.y1 + 1) / 2.0;
    }
    for (int r : rows) {
        const PixelRange chord = BoundingBox({0, r, 399, r}, [&](int x, int y) { return Drawn(x, y); });
        sum_x += (chord.x0 + chord.x1 + 1) / 2.0;
    }
    const double cx = sum_x / 4, cy = sum_y / 4;
    EXPECT_NEAR(cx, 202, 0.5);
    EXPECT_NEAR(cy, 199.5, 0.5);
    // About a pixel right of and above the pivot pixel's centre (200.5, 200.5).
    EXPECT_GE(cx - 200.5, 0.5);
    EXPECT_LE(cx - 200.5, 2.0);
    EXPECT_NEAR(200.5 - cy, 1.0, 0.5);

    for (int angle = 30; angle <= 330; angle += 15) {
        if (angle > 150 && angle < 210)
            continue;  // the bar below the centre
        const double a = Radians(angle);
        double outermost = 0;
        for (double r = 180; r < 200; r += 0.25) {
            const int x = int(floor(cx + r * sin(a))), y = int(floor(cy - r * cos(a)));
            if (Drawn(x, y))
                outermost = r;
        }
        EXPECT_NEAR(outermost, 195, 1.0) << "radius at " << angle << " degrees";
    }
}

TEST_F(KnobArtwork, MottledFaceLighterTowardTheLowerRight)
{
    struct Stats {
        double sum = 0, sum2 = 0;
        long n = 0;
        int darkest = 255, lightest = 0;
        void Add(int g)
        {
            sum += g;
            sum2 += double(g) * g;
            ++n;
            darkest = std::min(darkest, g);
            lightest = std::max(lightest, g);
        }
        double Mean() const { return sum / n; }
        double Deviation() const { return sqrt(sum2 / n - Mean() * Mean()); }
    } face, upper_left, lower_right;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x) {
            const double dx = x + 0.5 - 202, dy = y + 0.5 - 199.5;
            if (hypot(dx, dy) > 190 || (x >= 164 && x <= 238))
                continue;
            const int g = GreyAt(x, y);
            face.Add(g);
            if (hypot(dx + 110, dy + 110) < 50)
                upper_left.Add(g);
            if (hypot(dx - 110, dy - 110) < 50)
                lower_right.Add(g);
        }
    EXPECT_GE(face.darkest, 63);
    EXPECT_LE(face.lightest, 124);
    EXPECT_NEAR(face.Mean(), 91, 4);
    EXPECT_GT(face.Deviation(), 5) << "not mottled";
    EXPECT_NEAR(upper_left.Mean(), 76, 8);
    EXPECT_NEAR(lower_right.Mean(), 105, 8);
}

TEST_F(KnobArtwork, BarWithConcaveInnerFace)
{
    // Below the disc the bar stands on black: 71 columns, one-pixel
    // anti-aliased outer edges.
    for (int y : {400, 420, 440}) {
        EXPECT_EQ(BoundingBox({0, y, 399, y}, [&](int x, int y) { return Drawn(x, y); }),
                  (PixelRange{166, y, 236, y}));
        EXPECT_EQ(GreyAt(166, y), 25);
        EXPECT_EQ(GreyAt(236, y), 25);
    }
    // Dark borders either side of the lighter inner face.
    struct Row {
        int left_border, inner_first, inner_last, right_border;
    };
    auto measure = [&](int y) {
        Row row{0, 0, 0, 0};
        int x = 167;
        while (x < 236 && GreyAt(x, y) == 51)
            ++x;
        row.left_border = x - 167;
        row.inner_first = x;
        x = 235;
        while (x > 166 && GreyAt(x, y) == 51)
            --x;
        row.right_border = 235 - x;
        row.inner_last = x;
        return row;
    };
    for (int y = 225; y <= 240; ++y) {
        const Row row = measure(y);
        EXPECT_EQ(row.inner_first, 180) << "row " << y;
        EXPECT_EQ(row.inner_last, 222) << "row " << y;
    }
    const int rows[] = {20, 80, 150, 232, 320, 390, 430};
    std::vector<int> borders;
    for (int y : rows) {
        const Row row = measure(y);
        EXPECT_LE(abs(row.left_border - row.right_border), 1) << "row " << y;
        borders.push_back(row.left_border);
    }
    for (size_t i = 1; i < borders.size(); ++i) {
        if (rows[i] <= 232)
            EXPECT_GT(borders[i], borders[i - 1]) << "widening toward the waist at row " << rows[i];
        else
            EXPECT_LT(borders[i], borders[i - 1]) << "narrowing toward the end at row " << rows[i];
    }
    EXPECT_LE(borders.front(), 3);
    EXPECT_LE(borders.back(), 3);

    // The inner face: greys 55..118, darker along the middle, lightest near the right.
    double sums[3] = {}, all = 0;
    long counts[3] = {}, n = 0;
    int darkest = 255, lightest = 0;
    for (int y = 70; y <= 420; ++y) {
        const Row row = measure(y);
        const int width = row.inner_last - row.inner_first + 1;
        for (int x = row.inner_first + 1; x < row.inner_last; ++x) {
            const int g = GreyAt(x, y);
            darkest = std::min(darkest, g);
            lightest = std::max(lightest, g);
            all += g;
            ++n;
            const int third = (x - row.inner_first) * 3 / width;
            sums[third] += g;
            ++counts[third];
        }
    }
    EXPECT_GE(darkest, 55);
    EXPECT_LE(lightest, 118);
    EXPECT_NEAR(all / n, 87, 5);
    const double left = sums[0] / counts[0], middle = sums[1] / counts[1], right = sums[2] / counts[2];
    EXPECT_GT(right, left);
    EXPECT_GT(left, middle);
}

TEST_F(KnobArtwork, BarEnds)
{
    // Lower end: a dark crescent, wide on row 453, peaking on row 443, over
    // an anti-aliased bottom row.
    EXPECT_EQ(BoundingBox({0, 453, 399, 453}, [&](int x, int y) { return GreyAt(x, y) == 51; }),
              (PixelRange{170, 453, 232, 453}));
    for (int x = 166; x <= 236; ++x) {
        if (Drawn(x, 454)) {
            EXPECT_EQ(GreyAt(x, 454), 25) << "row 454, column " << x;
        }
    }
    EXPECT_EQ(BoundingBox({180, 443, 222, 443}, [&](int x, int y) { return GreyAt(x, y) == 51; }),
              (PixelRange{195, 443, 210, 443}));
    EXPECT_GT(GreyAt(201, 442), 51) << "inner face above the crescent";

    // Upper end, on the axis: the disc's edge, its rim, a dark cap band with
    // a faint lighter line on row 7, then the inner face.
    const struct {
        int y, low, high;
        const char* what;
    } column[] = {
        {3, 0, 0, "above the disc"}, {4, 12, 38, "anti-aliased edge"}, {5, 51, 51, "rim"},
        {6, 51, 51, "rim"},          {7, 60, 72, "faint line"},        {8, 51, 51, "cap band"},
        {9, 51, 51, "cap band"},     {10, 51, 51, "cap band"},         {12, 55, 118, "inner face"},
    };
    for (const auto& c : column) {
        EXPECT_GE(GreyAt(201, c.y), c.low) << c.what << ", row " << c.y;
        EXPECT_LE(GreyAt(201, c.y), c.high) << c.what << ", row " << c.y;
    }
    EXPECT_EQ(BoundingBox({166, 7, 236, 7}, [&](int x, int y) { return GreyAt(x, y) > 51; }),
              (PixelRange{189, 7, 213, 7}))
        << "the faint line's span";
}

TEST_F(KnobArtwork, IndexMark)
{
    EXPECT_EQ(BoundingBox({0, 0, 399, 456}, [&](int x, int y) { return knob.index(x, y) == 0; }),
              (PixelRange{194, 15, 208, 64}));
    long white = 0;
    for (uint8_t index : knob.indices)
        white += index == 0;
    EXPECT_EQ(white, 750);
    // A light rim on the left, right and bottom; none on top.
    const PixelRange rims[] = {{193, 15, 193, 65}, {209, 15, 209, 65}, {193, 65, 209, 65}};
    for (const PixelRange& rim : rims)
        for (int y = rim.y0; y <= rim.y1; ++y)
            for (int x = rim.x0; x <= rim.x1; ++x) {
                EXPECT_GE(GreyAt(x, y), 166) << x << "," << y;
                EXPECT_LE(GreyAt(x, y), 172) << x << "," << y;
            }
    for (int x = 194; x <= 208; ++x)
        EXPECT_LE(GreyAt(x, 14), 124) << "above the mark, column " << x;
}

}  // namespace
