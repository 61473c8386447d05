// record_lookup.h: what the host looks up in a gauge's walked records --
// each element's place in the tree, and the variables the elements name.
// describe prints the places, `expect readout PLACE` finds an element by
// one, and the live window gives each named variable a slider.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "gauge_host/core/record_walk.h"

// Each element's place, in the walk's order: "2" the second root, "2.1"
// the first of its next list.
std::vector<std::string> TreePlaces(const std::vector<ElementRecord>& elements);

// The source variables of the string and needle elements, each once, in
// ascending order.
std::vector<uint32_t> VariablesNamed(const GaugeRecords& gauge);
