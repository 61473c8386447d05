// libFuzzer target: any bytes as a scenario file give commands or one error.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include "gauge_host/core/scenario_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Scenario scenario;
    std::string error;
    bool parsed = ParseScenario(reinterpret_cast<const char*>(data), size, "fuzz.scenario", &scenario, &error);
    // Exactly one of the two outcomes, and an error always names its line.
    if (parsed != error.empty() || (!parsed && error.rfind("fuzz.scenario:", 0) != 0))
        abort();
    return 0;
}
