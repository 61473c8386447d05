// The module's records as the host finds them, and the routines they name.
#pragma once

#include "host/gauges.h"

// The two exports, by their plain names.
extern "C" GAUGESIMPORT ImportTable;
extern "C" GAUGESLINKAGE Linkage;

extern GAUGEHDR GaugeHeader;

void GAUGE_CALL ModuleInit(void);
void GAUGE_CALL ModuleDeinit(void);

// The host's service table, or null until the host has stored it.
inline HostPanelService* PanelServices()
{
    return static_cast<HostPanelService*>(ImportTable.panels.address);
}
