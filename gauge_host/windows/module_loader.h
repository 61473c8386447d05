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

    const GaugeRecords& Selected() const { return records.gauges[selected]; }
};

// gauge_name null picks the module's first gauge. On failure returns false
// with one line in *error, naming the file, and nothing left loaded.
bool LoadGaugeModule(const char* path, const char* gauge_name, HostPanelService* services,
                     LoadedModule* module, std::string* error);
void UnloadGaugeModule(LoadedModule* module);
