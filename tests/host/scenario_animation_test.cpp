// A scenario's frames as an APNG, read back by the PNG reader: how many
// frames, their delays at the scenario's rate and others, the pixels of
// the first and last.
#include <gtest/gtest.h>

#include <unistd.h>

#include <vector>

#include "common/file_bytes.h"
#include "common/png_reader.h"
#include "gauge_host/core/scenario_animation.h"

namespace {

Frame Plain(uint8_t grey)
{
    Frame frame;
    frame.Resize(6, 3);
    frame.Fill({grey, uint8_t(grey / 2), 7});
    return frame;
}

struct AnimationCase {
    const char* what;
    int fps;
    std::vector<uint8_t> scenario_frames;  // one grey a frame
    std::vector<int> delays;  // of the animation's frames, in 1/fps s
    std::vector<uint8_t> greys;  // of the animation's frames
};

TEST(ScenarioAnimation, FramesDelaysAndPixelsReadBack)
{
    const AnimationCase cases[] = {
        {"one frame", 18, {10}, {1}, {10}},
        {"every frame differs", 18, {10, 20, 30}, {1, 1, 1}, {10, 20, 30}},
        {"identical neighbours merge", 18, {10, 10, 20, 20, 20, 30}, {2, 3, 1}, {10, 20, 30}},
        {"equal but apart stay apart", 18, {10, 20, 10}, {1, 1, 1}, {10, 20, 10}},
        {"half the rate drops every other frame", 9, {10, 20, 30, 40, 50}, {1, 1, 1}, {10, 30, 50}},
        {"the last picture is kept at a low rate", 9, {10, 20, 30, 40, 50, 60}, {1, 1, 1, 1}, {10, 30, 50, 60}},
        {"twice the rate shows each for two ticks", 36, {10, 20, 20}, {2, 4}, {10, 20}},
        {"a long still frame is split", 1, std::vector<uint8_t>(18 * 65536, 10), {65535, 1}, {10, 10}},
    };
    for (const AnimationCase& c : cases) {
        SCOPED_TRACE(c.what);
        ScenarioAnimation animation(c.fps);
        for (uint8_t grey : c.scenario_frames)
            animation.AddFrame(Plain(grey));
        char path[] = "/tmp/scenario_animation_XXXXXX.png";
        const int file = mkstemps(path, 4);
        ASSERT_GE(file, 0);
        close(file);
        std::string error;
        ASSERT_TRUE(animation.Write(path, &error)) << error;
        EXPECT_EQ(animation.frames(), int(c.delays.size()));
        EXPECT_EQ(animation.width(), 6);
        EXPECT_EQ(animation.height(), 3);

        std::vector<uint8_t> bytes;
        ASSERT_TRUE(ReadFileBytes(path, &bytes));
        unlink(path);
        DecodedPng png;
        ASSERT_TRUE(DecodePng(bytes, &png, &error)) << error;
        EXPECT_EQ(png.width, 6);
        EXPECT_EQ(png.height, 3);
        EXPECT_EQ(png.chunks[1], "acTL") << "before the first IDAT, or no viewer animates it";
        EXPECT_EQ(png.rgb, Plain(c.greys.front()).rgb) << "the still image is the first frame";
        ASSERT_EQ(png.frames.size(), c.delays.size());
        for (size_t i = 0; i < png.frames.size(); ++i) {
            const DecodedFrame& f = png.frames[i];
            EXPECT_EQ(f.delay_numerator, c.delays[i]) << "frame " << i;
            EXPECT_EQ(f.delay_denominator, c.fps) << "frame " << i;
            EXPECT_EQ(f.rgb, Plain(c.greys[i]).rgb) << "frame " << i;
        }
    }
}

// After the first, a frame holds only the box of pixels that changed; the
// reader draws it over the picture before.
TEST(ScenarioAnimation, LaterFramesHoldOnlyWhatChanged)
{
    Frame dotted = Plain(10), two_dots = Plain(10);
    dotted.Row(1)[4 * 3] = 99;
    two_dots.Row(1)[4 * 3] = 99;
    two_dots.Row(2)[1 * 3 + 2] = 5;
    ScenarioAnimation animation(18);
    for (const Frame* frame : {&dotted, &two_dots, &dotted})
        animation.AddFrame(*frame);
    const std::string path = ::testing::TempDir() + "/changed_boxes.png";
    std::string error;
    ASSERT_TRUE(animation.Write(path, &error)) << error;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(path, &bytes));
    unlink(path.c_str());
    DecodedPng png;
    ASSERT_TRUE(DecodePng(bytes, &png, &error)) << error;
    ASSERT_EQ(png.frames.size(), 3u);
    const struct {
        int x, y, width, height;
        const Frame& whole;
    } expected[] = {{0, 0, 6, 3, dotted}, {1, 2, 1, 1, two_dots}, {1, 2, 1, 1, dotted}};
    for (size_t i = 0; i < 3; ++i) {
        const DecodedFrame& f = png.frames[i];
        EXPECT_EQ(f.x, expected[i].x) << "frame " << i;
        EXPECT_EQ(f.y, expected[i].y) << "frame " << i;
        EXPECT_EQ(f.width, expected[i].width) << "frame " << i;
        EXPECT_EQ(f.height, expected[i].height) << "frame " << i;
        EXPECT_EQ(f.rgb, expected[i].whole.rgb) << "frame " << i;
    }
}

TEST(ScenarioAnimation, NothingDrawnIsAnError)
{
    ScenarioAnimation animation(18);
    std::string error;
    EXPECT_FALSE(animation.Write("/tmp/never-written.png", &error));
    EXPECT_EQ(error, "the scenario draws no frame to animate");
}

}  // namespace
