// Which mouse area a point hits, and what the panel host does with a press:
// the button an area asks for, the held button's repeats.
#include <gtest/gtest.h>

#include "face/face.h"
#include "tests/host/host_fixture.h"
#include "gauge_host/core/hit_test.h"

namespace {

constexpr int LeftChild = 2, RightChild = 3;  // indexes in the real mouse list

TEST_F(HostTest, RealAreasSplitTheFaceAtColumn300)
{
    const std::vector<MouseAreaRecord>& areas = module.records.gauges[0].mouse_areas;
    struct Case {
        const char* name;
        int x, y;
        int child;
        int32_t cursor;
    } cases[] = {
        {"top-left corner", 0, 0, LeftChild, CURSOR_DOWN_ARROW},
        {"last left column", 299, 300, LeftChild, CURSOR_DOWN_ARROW},
        {"first right column", 300, 300, RightChild, CURSOR_UP_ARROW},
        {"last row, inside", 300, 599, RightChild, CURSOR_UP_ARROW},
        {"bottom-right corner", 599, 599, RightChild, CURSOR_UP_ARROW},
        {"row 600, outside", 300, 600, -1, CURSOR_NONE},
        {"column 600, outside", 600, 300, -1, CURSOR_NONE},
        {"left of the face", -1, 300, -1, CURSOR_NONE},
        {"above the face", 100, -1, -1, CURSOR_NONE},
    };
    for (const Case& c : cases) {
        const Hit hit = HitTest(areas, 600, 600, c.x, c.y);
        EXPECT_EQ(hit.child, c.child) << "case " << c.name;
        EXPECT_EQ(hit.cursor, c.cursor) << "case " << c.name;
        EXPECT_EQ(hit.tooltip, c.child < 0 ? "" : TooltipText) << "case " << c.name;
    }
    EXPECT_EQ(GaugeTooltip(areas), TooltipText);
}

MouseAreaRecord Area(uint32_t type, int x, int y, int w, int h, int32_t cursor, int parent, const char* tooltip = "")
{
    MouseAreaRecord area;
    area.rect.type = type;
    area.rect.x = x;
    area.rect.y = y;
    area.rect.width = w;
    area.rect.height = h;
    area.rect.cursor = cursor;
    area.parent = parent;
    area.tooltip = tooltip;
    return area;
}

// A parent box inside the gauge holding two overlapping children, the
// second without a cursor of its own; a nested parent with its own tooltip.
TEST(HitTest, ParentsGiveCursorAndTooltipAndBoundTheirChildren)
{
    const std::vector<MouseAreaRecord> areas = {
        Area(MOUSE_PARENT, 10, 10, 50, 50, CURSOR_UP_ARROW, -1),      // 0
        Area(MOUSE_USER, 0, 0, 0, 0, CURSOR_NONE, 0, "outer"),        // 1
        Area(MOUSE_CHILD, 0, 0, 30, 30, CURSOR_DOWN_ARROW, 0),       // 2: reaches past the parent's corner
        Area(MOUSE_CHILD, 20, 20, 30, 30, CURSOR_NONE, 0),           // 3: overlaps 2
        Area(MOUSE_PARENT, 52, 52, 8, 8, 7, 0),                       // 4
        Area(MOUSE_USER, 0, 0, 0, 0, CURSOR_NONE, 4, "inner"),        // 5
        Area(MOUSE_PARENT_END, 0, 0, 0, 0, CURSOR_NONE, 4),           // 6
        Area(MOUSE_PARENT_END, 0, 0, 0, 0, CURSOR_NONE, 0),           // 7
    };
    struct Case {
        const char* name;
        int x, y;
        int child;
        int32_t cursor;
        const char* tooltip;
    } cases[] = {
        {"child 2 outside its parent counts for nothing", 5, 5, -1, CURSOR_NONE, ""},
        {"child 2 inside its parent", 15, 15, 2, CURSOR_DOWN_ARROW, "outer"},
        {"overlap: the first child wins", 25, 25, 2, CURSOR_DOWN_ARROW, "outer"},
        {"child 3 alone takes the parent's cursor", 45, 35, 3, CURSOR_UP_ARROW, "outer"},
        {"parent with no child under the point", 58, 12, -1, CURSOR_UP_ARROW, "outer"},
        {"nested parent's cursor and tooltip", 55, 55, -1, 7, "inner"},
        {"parent's far edge is inside", 60, 12, -1, CURSOR_UP_ARROW, "outer"},
        {"one past the parent's far edge", 61, 12, -1, CURSOR_NONE, ""},
    };
    for (const Case& c : cases) {
        const Hit hit = HitTest(areas, 100, 100, c.x, c.y);
        EXPECT_EQ(hit.child, c.child) << "case " << c.name;
        EXPECT_EQ(hit.cursor, c.cursor) << "case " << c.name;
        EXPECT_EQ(hit.tooltip, c.tooltip) << "case " << c.name;
    }
    EXPECT_EQ(GaugeTooltip(areas), "outer");
    EXPECT_EQ(CursorName(CURSOR_UP_ARROW), "up");
    EXPECT_EQ(CursorName(CURSOR_DOWN_ARROW), "down");
    EXPECT_EQ(CursorName(CURSOR_NONE), "none");
    EXPECT_EQ(CursorName(7), "cursor 7");
}

TEST_F(HostTest, PressCallsOnlyForTheButtonsAnAreaAsksFor)
{
    Start();
    EXPECT_FALSE(host->Press(450, 300, MouseButton::Right)) << "the areas ask for the left button only";
    EXPECT_EQ(YawAmount, 0);
    EXPECT_FALSE(host->Press(650, 300, MouseButton::Left)) << "no area off the face";
    EXPECT_EQ(YawAmount, 0);
    EXPECT_TRUE(host->Press(450, 300, MouseButton::Left));
    EXPECT_EQ(YawAmount, 100);
    host->Release();
    EXPECT_TRUE(host->Press(299, 300, MouseButton::Left));
    EXPECT_EQ(YawAmount, 0);
    host->Release();

    // An area that asks for the right button only.
    GaugeRecords right_only = module.records.gauges[0];
    right_only.mouse_areas[RightChild].rect.flags = MOUSE_RIGHT_SINGLE;
    Start(right_only);
    EXPECT_FALSE(host->Press(450, 300, MouseButton::Left));
    EXPECT_EQ(YawAmount, 0);
    EXPECT_TRUE(host->Press(450, 300, MouseButton::Right));
    EXPECT_EQ(YawAmount, 100);
}

// The area's calls while the button stays down, frame after frame: the
// press's own call, then from 0.5 s on 10 a second (frames at 18 a second).
TEST_F(HostTest, HeldButtonRepeatsOnlyWhereTheAreaAsks)
{
    Start();
    host->Press(450, 300, MouseButton::Left);
    struct Step {
        int frames_held;
        int calls;
    } steps[] = {{1, 1}, {8, 1}, {9, 2}, {10, 2}, {11, 3}, {18, 7}, {36, 17}};
    int frames = 0;
    for (const Step& s : steps) {
        for (; frames < s.frames_held; ++frames)
            host->RunFrame();
        EXPECT_EQ(YawAmount, 100 * s.calls) << "after " << s.frames_held << " frames held";
    }
    host->Release();
    host->RunFrame();
    host->RunFrame();
    EXPECT_EQ(YawAmount, 1700) << "no call after the release";

    GaugeRecords no_repeat = module.records.gauges[0];
    no_repeat.mouse_areas[RightChild].rect.flags = MOUSE_LEFT_SINGLE;
    YawAmount = 0;
    Start(no_repeat);
    host->Press(450, 300, MouseButton::Left);
    for (int i = 0; i < 36; ++i)
        host->RunFrame();
    EXPECT_EQ(YawAmount, 100) << "without the repeat flag only the press calls";
}

TEST(PanelHost, RepeatCallsDueAfterHeldSeconds)
{
    const struct {
        double held;
        int due;
    } cases[] = {{0, 0}, {0.49, 0}, {0.5, 1}, {0.59, 1}, {0.6, 2}, {1.0, 6}, {10.0 / 18, 1}, {2.5, 21}};
    for (const auto& c : cases)
        EXPECT_EQ(RepeatCallsDue(c.held), c.due) << "held " << c.held << " s";
}

TEST_F(HostTest, AreaEventIdIsSentAtThePress)
{
    GaugeRecords with_event = module.records.gauges[0];
    with_event.mouse_areas[LeftChild].rect.event_id = 0x00010001;
    Start(with_event);
    host->Press(10, 10, MouseButton::Left);
    host->Release();
    ASSERT_EQ(host->key_events().size(), 1u);
    EXPECT_EQ(host->key_events()[0].event, 0x00010001u);
    EXPECT_EQ(host->key_events()[0].value, 0);
    EXPECT_EQ(YawAmount, -100);
}

}  // namespace
