#include "tests/gauge/gauge_fixture.h"

#include <cmath>
#include <limits>

using YawController = GaugeTest;

TEST_F(YawController, ReadoutTextsFollowTheSetting)
{
    struct Case {
        int32_t amount;
        const char* left;
        const char* right;
    } cases[] = {
        {0, "", ""},
        {100, "", "  0"},      {-100, "  0", ""},
        {1500, "", "  9"},     {-1500, "  9", ""},
        {1600, "", " 10"},     {-1600, " 10", ""},
        {15900, "", " 99"},    {-15900, " 99", ""},
        {16000, "", "100"},    {-16000, "100", ""},
        {3000, "", " 18"},
    };
    for (const Case& c : cases) {
        YawAmount = c.amount;
        Update(0.0);
        EXPECT_STREQ(left_text, c.left) << "left readout at " << c.amount;
        EXPECT_STREQ(right_text, c.right) << "right readout at " << c.amount;
    }
}

TEST_F(YawController, EmptyTextTouchesOnlyTheFirstByte)
{
    Update(0.0);
    EXPECT_EQ(0, memcmp(right_text, "\0xxxxxx", 8));
    EXPECT_EQ(0, memcmp(left_text, "\0xxxxxx", 8));
}

TEST_F(YawController, KnobValueTruncatesTowardZero)
{
    struct Case {
        int32_t amount;
        double degrees;
    } cases[] = {
        {0, 0.0}, {-100, 0.0}, {-200, -1.0}, {-300, -1.0}, {400, 2.0},
        {159, 0.0}, {160, 1.0}, {16000, 100.0}, {-16000, -100.0},
    };
    for (const Case& c : cases) {
        YawAmount = c.amount;
        EXPECT_EQ(KnobValueCallback(&YawKnob), c.degrees) << "at " << c.amount;
    }
}

TEST_F(YawController, StepsStopAtTheLimits)
{
    Steps(160);
    EXPECT_EQ(YawAmount, 16000);
    EXPECT_EQ(YawIncrease(nullptr, 0), 1) << "a call at the limit still returns true";
    EXPECT_EQ(YawAmount, 16000);

    YawAmount = 0;
    Steps(-160);
    EXPECT_EQ(YawAmount, -16000);
    EXPECT_EQ(YawDecrease(nullptr, 0), 1);
    EXPECT_EQ(YawAmount, -16000);
}

// Each row starts from a fresh load with YawAmount set, then feeds the
// monitored variable a sequence of readings, one update each.
TEST_F(YawController, EventsFollowTheThresholdRule)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        int32_t amount;
        std::vector<double> readings;
        std::vector<int32_t> values;
    } cases[] = {
        {"equal to the threshold", 3000, {0.005}, {}},
        {"just above the threshold", 3000, {0.006}, {-3000}},
        {"just below minus the threshold", 3000, {-0.006}, {3000}},
        {"creeping by 0.004", 3000, {0.004, 0.008, 0.012, 0.016, 0.020}, {}},
        {"up to 0.2 and back", 3000, {0.2, 0.0}, {-3000, 3000}},
        {"first call compares against 0.0", 2000, {0.3}, {-2000}},
        {"first call, negative", 2000, {-0.3}, {2000}},
        {"event goes out at 0", 0, {0.3}, {0}},
        {"no change, no event", 3000, {0.0, 0.0, 0.0}, {}},
        {"the road of one event", 3000, {0.40, 0.45}, {-3000, -3000}},
        {"full left travels signed", -16000, {1.0}, {16000}},
        {"NaN is skipped", 3000, {0.2, nan, 0.2, nan, 0.0}, {-3000, 3000}},
        {"NaN keeps the last real value", 3000, {nan, 0.006}, {-3000}},
        {"infinities are readings", 3000, {INFINITY, 0.0, -INFINITY}, {-3000, 3000, 3000}},
    };
    for (const Case& c : cases) {
        SetUp();
        YawAmount = c.amount;
        for (double reading : c.readings)
            Update(reading);
        std::vector<KeyEvent> expected;
        for (int32_t value : c.values)
            expected.push_back({YawEvent, value});
        EXPECT_EQ(SentEvents, expected) << c.name;
    }
}

TEST_F(YawController, NegativeValueTravelsAsTwosComplement)
{
    YawAmount = 16000;
    Update(1.0);
    ASSERT_EQ(SentEvents.size(), 1u);
    EXPECT_EQ(static_cast<uint32_t>(SentEvents[0].value), 0xFFFFC180u);
}

TEST_F(YawController, ReferenceMovesOnEveryRealReading)
{
    Update(0.004);
    EXPECT_EQ(LastMonitoredValue, 0.004);
    Update(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(LastMonitoredValue, 0.004) << "a NaN reading must not replace the reference";
}

TEST_F(YawController, LeftReadoutNeverWatches)
{
    YawAmount = 3000;
    LeftReadout.source_values[MonitoredSource] = 5.0;
    LeftReadout.callback(&LeftReadout);
    EXPECT_TRUE(SentEvents.empty());
    EXPECT_EQ(LastMonitoredValue, 0.0);
}

// Faults a careless host can cause: the gauge must not crash.
TEST_F(YawController, NoServiceTableNoTextBufferNoCrash)
{
    ImportTable.panels.address = nullptr;
    YawAmount = 3000;
    Update(1.0);
    EXPECT_STREQ(right_text, " 18") << "the text is still written";
    EXPECT_EQ(LastMonitoredValue, 1.0);

    ImportTable.panels.address = &services;
    RightReadout.text = LeftReadout.text = nullptr;
    Update(0.0);
    EXPECT_EQ(SentEvents, (std::vector<KeyEvent>{{YawEvent, 3000}}));
    EXPECT_EQ(RightReadoutCallback(nullptr), 0.0);
    EXPECT_EQ(LeftReadoutCallback(nullptr), 0.0);
}

TEST_F(YawController, CallbacksReturnZero)
{
    YawAmount = 3000;
    EXPECT_EQ(RightReadoutCallback(&RightReadout), 0.0);
    EXPECT_EQ(LeftReadoutCallback(&LeftReadout), 0.0);
}
