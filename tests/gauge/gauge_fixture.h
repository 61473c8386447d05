// A clean load for every test: the module's state back at 0 and 0.0, the
// host's working fields cleared, and a recording service table in place.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "face/face.h"
#include "module/exports.h"
#include "yaw/yaw_controller.h"

struct KeyEvent {
    uint32_t event;
    int32_t value;
    bool operator==(const KeyEvent&) const = default;
};

inline std::vector<KeyEvent> SentEvents;

inline void GAUGE_CALL RecordKeyEvent(uint32_t event, int32_t value)
{
    SentEvents.push_back({event, value});
}

class GaugeTest : public ::testing::Test {
protected:
    HostPanelService services{};
    char right_text[8] = "xxxxxxx";
    char left_text[8] = "xxxxxxx";

    void SetUp() override
    {
        YawAmount = 0;
        LastMonitoredValue = 0.0;
        SentEvents.clear();
        services.trigger_key_event = RecordKeyEvent;
        ImportTable.panels.address = &services;
        RightReadout.text = right_text;
        LeftReadout.text = left_text;
        for (double* value : {&RightReadout.source_values[0], &RightReadout.source_values[1],
                              &RightReadout.source_values[2]})
            *value = 0.0;
    }

    void TearDown() override
    {
        ImportTable.panels.address = nullptr;
        RightReadout.text = LeftReadout.text = nullptr;
    }

    // One host update of the readouts, as a host does it: the monitored
    // variable's value stored in the element, then the callbacks.
    void Update(double monitored)
    {
        RightReadout.source_values[MonitoredSource] = monitored;
        RightReadout.callback(&RightReadout);
        LeftReadout.callback(&LeftReadout);
    }

    static void Steps(int count)  // positive: right, negative: left
    {
        for (int i = 0; i < (count < 0 ? -count : count); ++i)
            (count < 0 ? YawDecrease : YawIncrease)(nullptr, MOUSE_LEFT_SINGLE);
    }
};
