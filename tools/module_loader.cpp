#include "tools/module_loader.h"

#include <stdio.h>
#include <string.h>

static bool Fail(LoadedModule* module, std::string* error, std::string message)
{
    *error = std::move(message);
    UnloadGaugeModule(module);
    return false;
}

static std::string Hex(uint32_t value)
{
    char text[16];
    snprintf(text, sizeof text, "0x%04X", (unsigned)value);
    return text;
}

// Enough gauges for any real module; a list without its zero entry stops here.
constexpr int MaxGauges = 64;

bool LoadGaugeModule(const char* path, const char* gauge_name, HostPanelService* services,
                     LoadedModule* module, std::string* error)
{
    *module = {};
    // No dialog boxes from the loader: a bad file is an error line, not a popup.
    UINT old_mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    module->library = LoadLibraryA(path);
    DWORD load_error = GetLastError();
    SetErrorMode(old_mode);
    if (!module->library)
        return Fail(module, error,
                    std::string(path) + ": cannot load as a 32-bit Windows DLL (error " +
                        std::to_string(load_error) + ")");

    module->imports = reinterpret_cast<GAUGESIMPORT*>(GetProcAddress(module->library, "ImportTable"));
    module->linkage = reinterpret_cast<GAUGESLINKAGE*>(GetProcAddress(module->library, "Linkage"));
    if (!module->imports)
        return Fail(module, error, std::string(path) + ": no export named ImportTable");
    if (!module->linkage)
        return Fail(module, error, std::string(path) + ": no export named Linkage");
    if (module->linkage->module_identifier != MODULE_IDENTIFIER)
        return Fail(module, error, std::string(path) + ": Linkage module identifier " +
                                       Hex(module->linkage->module_identifier) + ", expected " +
                                       Hex(MODULE_IDENTIFIER));
    if (module->linkage->module_version != MODULE_VERSION)
        return Fail(module, error, std::string(path) + ": module version " +
                                       Hex(module->linkage->module_version) + ", expected " +
                                       Hex(MODULE_VERSION));
    if (module->imports->panels.identifier != IMPORT_PANELS)
        return Fail(module, error, std::string(path) + ": ImportTable has no panel service entry");

    module->imports->panels.address = services;

    for (int i = 0; i < MaxGauges && module->linkage->gauges[i]; ++i) {
        GAUGEHDR* gauge = module->linkage->gauges[i];
        if (!gauge_name || (gauge->gauge_name && strcmp(gauge->gauge_name, gauge_name) == 0)) {
            module->gauge = gauge;
            return true;
        }
    }
    return Fail(module, error, std::string(path) + ": no gauge named \"" +
                                   (gauge_name ? gauge_name : "") + "\"");
}

void UnloadGaugeModule(LoadedModule* module)
{
    if (module->library)
        FreeLibrary(module->library);
    *module = {};
}
