// What the host keeps between frames: the compositor's cached face and
// turned needles give the pixels the uncached path draws, and the panel
// host composes a frame only when asked, as of its last draw.
#include <stdlib.h>

#include "gauge_host/core/compositor.h"
#include "tests/host/host_fixture.h"

namespace {

// The largest difference in any channel of any pixel, or 256 when the
// frames differ in size.
int LargestDifference(const Frame& a, const Frame& b)
{
    if (a.width != b.width || a.height != b.height)
        return 256;
    int largest = 0;
    for (size_t i = 0; i < a.rgb.size(); ++i)
        largest = std::max(largest, abs(int(a.rgb[i]) - int(b.rgb[i])));
    return largest;
}

class FrameCacheTest : public HostTest {};

// One compositor through the whole table, so later rows meet what earlier
// ones cached: an angle seen before, a scale changed back, the light.
TEST_F(FrameCacheTest, CachedFramesMatchTheUncachedPath)
{
    Start();
    host->RunFrame();
    std::vector<ElementState> elements = host->elements();
    size_t knob = 0;
    while (elements[knob].record->header.kind != ELEMENT_TYPE_NEEDLE)
        ++knob;
    struct Case {
        double degrees, scale;
        Light light;
    } cases[] = {
        {0, 1, Light::Day},    {37, 1, Light::Day},   {-100, 1, Light::Day}, {37, 1, Light::Day},
        {12.5, 1, Light::Night}, {90, 2, Light::Day}, {-45, 2, Light::Day},  {37, 2, Light::Night},
        {-3, 3, Light::Day},   {100, 3, Light::Day},  {37, 1, Light::Day},   {180, 0.5, Light::Day},
        {-61, 1.47, Light::Day}, {-61, 1.47, Light::Night},
    };
    Compositor compositor;
    for (const Case& c : cases) {
        elements[knob].degrees = c.degrees;
        const View view{c.scale, c.light};
        Frame cached, uncached;
        compositor.Draw(elements, host->width(), host->height(), view, &cached);
        DrawGauge(elements, host->width(), host->height(), view, &uncached);
        EXPECT_LE(LargestDifference(cached, uncached), 1)
            << c.degrees << " degrees, scale " << c.scale << (c.light == Light::Night ? ", night" : ", day");
    }
}

// The gauge's frames run their routines and callbacks; the pixels are those
// of the last draw, composed when frame() is called.
TEST_F(FrameCacheTest, FramesAreComposedAsOfTheLastDraw)
{
    Start();
    host->RunFrame();
    const uint64_t first = host->frame_version();
    host->RunFrame();
    EXPECT_EQ(host->frame_version(), first) << "nothing changed, yet the frame is new";

    const Frame upright = host->frame();
    YawDecrease(nullptr, 0);  // the knob turns at the next update
    EXPECT_EQ(LargestDifference(host->frame(), upright), 0) << "the frame changed before the gauge drew";
    host->RunFrame();
    EXPECT_NE(host->frame_version(), first);
    Frame expected;
    DrawGauge(host->elements(), host->width(), host->height(), host->view, &expected);
    EXPECT_EQ(LargestDifference(host->frame(), expected), 0);
    EXPECT_GT(LargestDifference(host->frame(), upright), 1) << "the turned knob was not drawn";

    // The view counts as visible too; and the last frame outlives the gauge.
    host->view.light = Light::Night;
    host->RunFrame();
    DrawGauge(host->elements(), host->width(), host->height(), host->view, &expected);
    host->Stop();
    EXPECT_EQ(LargestDifference(host->frame(), expected), 0) << "the night frame, composed after the kill";
}

}  // namespace
