// Snapshot comparison: which pixels count as over the tolerance, their box
// and largest difference, and the diff image that shows them.
#include <gtest/gtest.h>

#include <vector>

#include "gauge_host/core/frame_comparison.h"

namespace {

constexpr RgbColour Grey = {100, 100, 100};

struct Change {
    int x, y, channel, delta;
};

Frame GreyFrame()
{
    Frame frame;
    frame.Resize(5, 4);
    frame.Fill(Grey);
    return frame;
}

Frame Changed(const std::vector<Change>& changes)
{
    Frame frame = GreyFrame();
    for (const Change& c : changes)
        frame.Row(c.y)[c.x * 3 + c.channel] = uint8_t(100 + c.delta);
    return frame;
}

struct ComparisonCase {
    const char* what;
    std::vector<Change> changes;
    int tolerance;
    int64_t over;
    int x0, x1, y0, y1, largest;
};

TEST(FrameComparison, PixelsOverToleranceTheirBoxAndLargestDifference)
{
    const ComparisonCase cases[] = {
        {"identical", {}, 0, 0, 0, -1, 0, -1, 0},
        {"one channel up by 1", {{2, 1, 0, 1}}, 0, 1, 2, 2, 1, 1, 1},
        {"within the tolerance", {{2, 1, 0, 1}}, 1, 0, 0, -1, 0, -1, 0},
        {"exactly the tolerance is not over", {{2, 1, 2, -5}}, 5, 0, 0, -1, 0, -1, 0},
        {"one over the tolerance", {{2, 1, 2, -6}}, 5, 1, 2, 2, 1, 1, 6},
        {"channels of one pixel count once", {{3, 2, 0, 9}, {3, 2, 1, -9}, {3, 2, 2, 20}}, 0, 1, 3, 3, 2, 2, 20},
        {"opposite corners box the frame", {{0, 3, 1, 50}, {4, 0, 1, -100}}, 10, 2, 0, 4, 0, 3, 100},
        {"the box reaches left from a later row", {{3, 0, 0, 2}, {1, 2, 0, 3}}, 0, 2, 1, 3, 0, 2, 3},
        {"only the large one counts", {{0, 0, 0, 2}, {4, 3, 2, 155}}, 2, 1, 4, 4, 3, 3, 155},
        {"tolerance 255 passes everything", {{0, 0, 0, 155}, {1, 1, 1, -100}}, 255, 0, 0, -1, 0, -1, 0},
    };
    const Frame reference = GreyFrame();
    for (const ComparisonCase& c : cases) {
        SCOPED_TRACE(c.what);
        const FrameDifference d = CompareFrames(Changed(c.changes), reference, c.tolerance);
        EXPECT_EQ(d.over_tolerance, c.over);
        EXPECT_EQ(d.x0, c.x0);
        EXPECT_EQ(d.x1, c.x1);
        EXPECT_EQ(d.y0, c.y0);
        EXPECT_EQ(d.y1, c.y1);
        EXPECT_EQ(d.largest, c.largest);
    }
}

TEST(FrameComparison, DiffImageShowsPixelsOverToleranceInRedOverTheFadedFrame)
{
    const Frame actual = Changed({{1, 1, 0, 40}, {3, 2, 1, 3}});
    const Frame diff = DiffImage(actual, GreyFrame(), 5);
    ASSERT_EQ(diff.width, 5);
    ASSERT_EQ(diff.height, 4);
    EXPECT_EQ(diff.At(1, 1), (RgbColour{255, 0, 0})) << "over the tolerance";
    const RgbColour faded = {216, 216, 216};  // 191 + 100 / 4
    EXPECT_EQ(diff.At(0, 0), faded) << "unchanged";
    EXPECT_EQ(diff.At(3, 2), (RgbColour{216, 216, 216})) << "within the tolerance: faded, not marked";
    EXPECT_EQ(DiffImage(GreyFrame(), GreyFrame(), 0).rgb, std::vector<uint8_t>(5 * 4 * 3, 216))
        << "equal frames: nothing marked";
}

}  // namespace
