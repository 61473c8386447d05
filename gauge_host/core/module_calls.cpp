#include "gauge_host/core/module_calls.h"

namespace {
ModuleGate* Gate;
}

void SetModuleGate(ModuleGate* gate) { Gate = gate; }
ModuleGate* CurrentModuleGate() { return Gate; }
