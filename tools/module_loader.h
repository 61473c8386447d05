// Loading a gauge module the way a panel system does: the library, its two
// exported records, the host's service table stored in ImportTable, and the
// gauge found by name through Linkage.
#pragma once

#include <windows.h>

#include <string>

#include "host/gauges.h"

struct LoadedModule {
    HMODULE library = nullptr;
    GAUGESIMPORT* imports = nullptr;
    GAUGESLINKAGE* linkage = nullptr;
    GAUGEHDR* gauge = nullptr;
};

// gauge_name null picks the module's first gauge. On failure returns false
// with one line in *error and nothing left loaded.
bool LoadGaugeModule(const char* path, const char* gauge_name, HostPanelService* services,
                     LoadedModule* module, std::string* error);
void UnloadGaugeModule(LoadedModule* module);
