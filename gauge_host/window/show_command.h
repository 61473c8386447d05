// show_command.h: gauge-host show -- a gauge module in a live preview
// window until the window is closed.
#pragma once

#include "gauge_host/command/command_line.h"

// Returns the exit status: 0 when the window was closed (the gauge killed,
// the module freed), 2 when the module cannot be shown.
class CallGate;

// Exit status: ExitOk, or ExitBadInput when a call into the module hung.
int ShowGauge(const Options& options, CallGate* gate);
