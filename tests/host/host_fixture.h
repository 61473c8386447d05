// The real gauge started in a panel host, natively: its records walked in
// this program's image, its bitmaps read from the built artwork, its
// state back at 0 and 0.0 as after a fresh load.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "module/exports.h"
#include "gauge_host/native/native_module.h"
#include "yaw/yaw_controller.h"

class HostTest : public ::testing::Test {
protected:
    NativeModule module;
    std::unique_ptr<PanelHost> host;

    void SetUp() override
    {
        YawAmount = 0;
        LastMonitoredValue = 0.0;
        std::string error;
        ASSERT_TRUE(LoadNativeModule(ARTWORK_DIR, &module, &error)) << error;
    }

    void TearDown() override
    {
        host.reset();
        ImportTable.panels.address = nullptr;
    }

    // gauge: the walked records, as they are or changed by the test.
    void Start(const GaugeRecords& gauge, View view = {})
    {
        host = std::make_unique<PanelHost>(gauge, module.bitmaps, view);
        std::string error;
        ASSERT_TRUE(host->Start(nullptr, &error)) << error;
    }
    void Start(View view = {}) { Start(module.records.gauges[0], view); }
};
