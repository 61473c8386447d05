#include "yaw/yaw_controller.h"

#include "module/exports.h"

int32_t YawAmount = 0;
double LastMonitoredValue = 0.0;

int32_t GAUGE_CALL YawDecrease(const PIXPOINT*, uint32_t)
{
    if (YawAmount > -Limit)
        YawAmount -= Step;
    return 1;
}

int32_t GAUGE_CALL YawIncrease(const PIXPOINT*, uint32_t)
{
    if (YawAmount < Limit)
        YawAmount += Step;
    return 1;
}

double GAUGE_CALL KnobValueCallback(ELEMENT_NEEDLE*)
{
    return YawAmount / DisplayDivisor;
}

// Blank at or below zero, else three characters with the digits right-aligned.
static void WriteReadoutText(char* text, int32_t magnitude)
{
    if (!text)
        return;
    if (magnitude <= 0) {
        text[0] = '\0';
        return;
    }
    if (magnitude >= Limit) {
        text[0] = '1', text[1] = '0', text[2] = '0', text[3] = '\0';
        return;
    }
    int32_t shown = magnitude / DisplayDivisor;
    text[0] = ' ';
    text[1] = shown >= 10 ? char('0' + shown / 10) : ' ';
    text[2] = char('0' + shown % 10);
    text[3] = '\0';
}

static void SendYawEvent(int32_t value)
{
    HostPanelService* services = PanelServices();
    if (services && services->trigger_key_event)
        services->trigger_key_event(YawEvent, value);
}

double GAUGE_CALL LeftReadoutCallback(ELEMENT_STRING* readout)
{
    if (readout)
        WriteReadoutText(readout->text, -YawAmount);
    return 0.0;
}

double GAUGE_CALL RightReadoutCallback(ELEMENT_STRING* readout)
{
    if (!readout)
        return 0.0;
    double value = readout->source_values[MonitoredSource];
    // A NaN compares false both ways: kept as the reference, it would make
    // the next real reading send nothing and become the reference in its
    // turn, losing a change across the NaN. So the reading is skipped.
    if (value == value) {
        if (LastMonitoredValue + Threshold < value)
            SendYawEvent(-YawAmount);
        else if (value < LastMonitoredValue - Threshold)
            SendYawEvent(YawAmount);
        LastMonitoredValue = value;
    }
    WriteReadoutText(readout->text, YawAmount);
    return 0.0;
}
