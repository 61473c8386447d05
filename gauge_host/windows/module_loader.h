// module_loader.h: loads a gauge module the way a panel system does -- the
// library, its two exported records, the host's service table stored in
// ImportTable, the gauge found by name through Linkage -- and walks every
// record first, so a malformed module is one error line, not a crash.
//
// Usage:
//   LoadedModule module;
//   std::string error;
//   if (!LoadGaugeModule(path, "TIY", PanelServiceTable(), &module, &error)) ...
//   ... module.Selected().elements ...
//   UnloadGaugeModule(&module);
//   ReadGaugeModule(path, nullptr, &module, &error);  // to describe it: runs none of its code
#pragma once

#include <windows.h>

#include <string>

#include "host/gauges.h"
#include "gauge_host/core/record_walk.h"

struct LoadedModule {
    HMODULE library = nullptr;
    GAUGESIMPORT* imports = nullptr;
    GAUGESLINKAGE* linkage = nullptr;
    GAUGEHDR* gauge = nullptr;  // the selected gauge's header
    MemorySpan image;  // the mapped module
    ModuleRecords records;  // every gauge, walked
    size_t selected = 0;  // the gauge asked for, among records.gauges
    bool initialized = false;  // its module init routine has run

    const GaugeRecords& Selected() const { return records.gauges[selected]; }
};

// gauge_name null picks the module's first gauge. On failure returns false
// with one line in *error, naming the file, and nothing left loaded. Once
// loaded the module's init routine has run; unloading runs its deinit.
bool LoadGaugeModule(const char* path, const char* gauge_name, HostPanelService* services,
                     LoadedModule* module, std::string* error);
// The module's records and resources without running any of its code: the
// file mapped as an image resource, nothing relocated, the records read at
// the image's preferred base. No import table is filled and no gauge can
// run; library serves its resources.
bool ReadGaugeModule(const char* path, const char* gauge_name, LoadedModule* module, std::string* error);
void UnloadGaugeModule(LoadedModule* module);
