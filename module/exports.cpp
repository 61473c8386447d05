#include "module/exports.h"

constinit GAUGESIMPORT ImportTable = {
    {IMPORT_PANELS, nullptr},  // the host stores its service table here
    {0, nullptr},
};

constinit GAUGESLINKAGE Linkage = {
    .module_identifier = MODULE_IDENTIFIER,
    .module_init = ModuleInit,
    .module_deinit = ModuleDeinit,
    .module_flags = 0,
    .module_priority = 0,
    .module_version = MODULE_VERSION,
    .gauges = {&GaugeHeader, nullptr},
};
