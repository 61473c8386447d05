#include "gauge_host/core/record_lookup.h"

#include <algorithm>

std::vector<std::string> TreePlaces(const std::vector<ElementRecord>& elements)
{
    std::vector<std::string> places;
    std::vector<int> counts;  // elements so far at each depth down to this one
    for (const ElementRecord& e : elements) {
        counts.resize(size_t(e.depth) + 1);
        ++counts.back();
        std::string place;
        for (int count : counts) {
            if (!place.empty())
                place += '.';
            place += std::to_string(count);
        }
        places.push_back(place);
    }
    return places;
}

std::vector<uint32_t> VariablesNamed(const GaugeRecords& gauge)
{
    std::vector<uint32_t> variables;
    for (const ElementRecord& element : gauge.elements) {
        if (element.header.kind == ELEMENT_TYPE_STRING)
            variables.insert(variables.end(), std::begin(element.string.source_variables),
                             std::end(element.string.source_variables));
        else if (element.header.kind == ELEMENT_TYPE_NEEDLE)
            variables.push_back(element.needle.source_variable);
    }
    std::erase(variables, uint32_t(VARIABLE_NONE));
    std::sort(variables.begin(), variables.end());
    variables.erase(std::unique(variables.begin(), variables.end()), variables.end());
    return variables;
}
