// What the preview window and describe --areas rely on: the gauge fitted
// into a view and clicks mapped back, typed variable numbers and values,
// the slider's grid, and the checks of a gauge's mouse areas.
#include <gtest/gtest.h>

#include "tests/host/host_fixture.h"
#include "gauge_host/core/area_overlay.h"
#include "gauge_host/core/gauge_fit.h"
#include "gauge_host/core/variable_input.h"

namespace {

TEST(GaugeFit, LargestScaleThatKeepsTheAspect)
{
    const struct {
        int view_width, view_height;
        double scale;
        int width, height;
    } cases[] = {
        {600, 600, 1, 600, 600}, {1200, 900, 1.5, 900, 900}, {300, 1000, 0.5, 300, 300}, {0, 0, 1.0 / 600, 1, 1},
    };
    for (const auto& c : cases) {
        const GaugeFit fit = FitGauge(600, 600, c.view_width, c.view_height);
        EXPECT_DOUBLE_EQ(fit.scale, c.scale) << "view " << c.view_width << " x " << c.view_height;
        EXPECT_EQ(fit.width, c.width) << "view " << c.view_width << " x " << c.view_height;
        EXPECT_EQ(fit.height, c.height) << "view " << c.view_width << " x " << c.view_height;
    }
}

TEST(GaugeFit, ViewPixelsMapBackToFacePixels)
{
    const GaugeFit fit = FitGauge(600, 600, 900, 900);  // scale 1.5
    const struct {
        int x, y;
        bool inside;
        int face_x, face_y;
    } cases[] = {{0, 0, true, 0, 0}, {449, 0, true, 299, 0}, {450, 0, true, 300, 0}, {899, 899, true, 599, 599},
                 {900, 0, false, 0, 0}, {0, -1, false, 0, 0}};
    for (const auto& c : cases) {
        int fx = -1, fy = -1;
        EXPECT_EQ(FacePixelAt(fit, 600, 600, c.x, c.y, &fx, &fy), c.inside) << "view " << c.x << ", " << c.y;
        if (c.inside) {
            EXPECT_EQ(fx, c.face_x) << "view " << c.x << ", " << c.y;
            EXPECT_EQ(fy, c.face_y) << "view " << c.x << ", " << c.y;
        }
    }
}

TEST(VariableInput, TypedNumbersAndValues)
{
    const struct {
        const char* text;
        bool ok;
        uint32_t number;
    } numbers[] = {{"558", true, 558},        {" 0x22e ", true, 558}, {"0XFFFFFFFF", true, 0xFFFFFFFF},
                   {"010", true, 10},         {"4294967296", false, 0}, {"-1", false, 0},
                   {"+5", false, 0},          {"0x", false, 0},         {"", false, 0},
                   {"5 5", false, 0},         {"99999999999999999999999", false, 0}};
    for (const auto& c : numbers) {
        uint32_t number = 0;
        EXPECT_EQ(ParseVariableNumber(c.text, &number), c.ok) << "'" << c.text << "'";
        if (c.ok) {
            EXPECT_EQ(number, c.number) << "'" << c.text << "'";
        }
    }
    const struct {
        const char* text;
        bool ok;
        double value;
    } values[] = {{"0.45", true, 0.45}, {" -2e3\t", true, -2000}, {"", false, 0}, {"inf", false, 0},
                  {"nan", false, 0},    {"1,5", false, 0}};
    for (const auto& c : values) {
        double value = 0;
        EXPECT_EQ(ParseVariableValue(c.text, &value), c.ok) << "'" << c.text << "'";
        if (c.ok) {
            EXPECT_EQ(value, c.value) << "'" << c.text << "'";
        }
    }
}

TEST(VariableInput, SliderGridAndItsEnds)
{
    EXPECT_EQ(SliderPosition(0.4504), 450);
    EXPECT_EQ(SliderPosition(-3), 0);
    EXPECT_EQ(SliderPosition(7), 1000);
    EXPECT_DOUBLE_EQ(SteppedValue(0.40, KeyStepPositions), 0.41);
    EXPECT_DOUBLE_EQ(SteppedValue(0.995, KeyStepPositions), 1.0);
    EXPECT_DOUBLE_EQ(SteppedValue(0.05, -PageStepPositions), 0.0);
    EXPECT_GT(SliderValue(KeyStepPositions), 0.005) << "one key press must be enough for the gauge's event";
}

TEST_F(HostTest, AreaChecksOfTheRealGauge)
{
    const GaugeRecords& gauge = module.records.gauges[0];
    EXPECT_EQ(CheckMouseAreas(gauge.mouse_areas, 600, 600), std::vector<std::string>{});
    EXPECT_EQ(CheckMouseAreas(gauge.mouse_areas, 599, 600),
              std::vector<std::string>{"mouse area 4 (300, 0, 299 x 599) reaches outside the 599 x 600 gauge"});

    GaugeRecords overlapping = gauge;
    overlapping.mouse_areas[3].rect.x = 299;  // shares column 299 with the left half
    EXPECT_EQ(CheckMouseAreas(overlapping.mouse_areas, 600, 600),
              std::vector<std::string>{"mouse areas 3 and 4 overlap; the first one wins where they do"});
}

TEST(AreaOverlay, ChildrenTintedByCursorOverTheirWholeBox)
{
    MouseAreaRecord child;
    child.rect.type = MOUSE_CHILD;
    child.rect.x = 2;
    child.rect.y = 2;
    child.rect.width = 3;  // pixels 2..5
    child.rect.height = 3;
    child.rect.cursor = CURSOR_UP_ARROW;
    child.parent = 0;
    Frame frame;
    frame.Resize(10, 10);
    frame.Fill({0, 0, 0});
    DrawMouseAreas(&frame, {child}, 1);
    EXPECT_EQ(frame.At(2, 2), TintOf(CURSOR_UP_ARROW).colour) << "outline";
    EXPECT_EQ(frame.At(5, 5), TintOf(CURSOR_UP_ARROW).colour) << "the far edge is the box's";
    EXPECT_EQ(frame.At(6, 6), (RgbColour{0, 0, 0}));
    EXPECT_NE(frame.At(3, 3), (RgbColour{0, 0, 0})) << "tinted inside";
    EXPECT_STREQ(TintOf(CURSOR_DOWN_ARROW).name, "blue");
}

}  // namespace
