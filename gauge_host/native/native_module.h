// native_module.h: the gauge library linked into a native program, seen by
// the host's core as the Windows layer shows it a loaded module -- its
// records walked in the program's own image, its bitmaps read from the
// artwork files that the resource script numbers 4357 and 4358. Lets the
// unit tests and the benchmark drive the real records without Windows.
//
// Usage:
//   NativeModule module;
//   if (!LoadNativeModule(artwork_dir, &module, &error)) ...
//   PanelHost host(module.records.gauges[0], module.bitmaps, view);
//   host.Start(nullptr, &error);
#pragma once

#include <string>

#include "gauge_host/core/panel_host.h"

struct NativeModule {
    MemorySpan image;
    ModuleRecords records;
    BitmapLoader bitmaps;
};

// Walks the records and stores PanelServiceTable() in ImportTable.
bool LoadNativeModule(const std::string& artwork_dir, NativeModule* module, std::string* error);
