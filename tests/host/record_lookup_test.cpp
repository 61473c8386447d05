// What the host looks up in walked records: the variables the elements
// name, for the window's sliders, and each element's place in the tree,
// for describe and `expect readout PLACE`.
#include <gtest/gtest.h>

#include "tests/host/host_fixture.h"
#include "gauge_host/core/record_lookup.h"

namespace {

struct ElementSpec {
    int depth;
    uint32_t kind;
    std::vector<uint32_t> variables;  // a string's three sources, or a needle's one
};

GaugeRecords GaugeOf(const std::vector<ElementSpec>& specs)
{
    GaugeRecords gauge;
    for (const ElementSpec& spec : specs) {
        ElementRecord element;
        element.depth = spec.depth;
        element.header.kind = spec.kind;
        if (spec.kind == ELEMENT_TYPE_STRING)
            std::copy(spec.variables.begin(), spec.variables.end(), element.string.source_variables);
        else if (spec.kind == ELEMENT_TYPE_NEEDLE)
            element.needle.source_variable = spec.variables.at(0);
        gauge.elements.push_back(element);
    }
    return gauge;
}

constexpr uint32_t None = VARIABLE_NONE;

TEST_F(HostTest, VariablesNamedByTheRecords)
{
    const struct {
        const char* what;
        GaugeRecords gauge;
        std::vector<uint32_t> variables;
    } cases[] = {
        {"the real gauge", module.records.gauges[0], {421, 558, 786}},
        {"a static image alone", GaugeOf({{0, ELEMENT_TYPE_STATIC_IMAGE, {}}}), {}},
        {"sources that are all none",
         GaugeOf({{0, ELEMENT_TYPE_STRING, {None, None, None}}, {1, ELEMENT_TYPE_NEEDLE, {None}}}), {}},
        {"repeats counted once, sorted",
         GaugeOf({{0, ELEMENT_TYPE_NEEDLE, {0x22E}},
                  {1, ELEMENT_TYPE_STRING, {9, None, 0x22E}},
                  {1, ELEMENT_TYPE_STRING, {9, 9, 0}}}),
         {0, 9, 0x22E}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VariablesNamed(c.gauge), c.variables) << c.what;
}

TEST_F(HostTest, TreePlacesCountWithinEachList)
{
    const auto depths = [](std::vector<int> list) {
        std::vector<ElementSpec> specs;
        for (int depth : list)
            specs.push_back({depth, ELEMENT_TYPE_STATIC_IMAGE, {}});
        return GaugeOf(specs).elements;
    };
    const struct {
        const char* what;
        std::vector<ElementRecord> elements;
        std::vector<std::string> places;
    } cases[] = {
        {"the real gauge", module.records.gauges[0].elements, {"1", "1.1", "1.1.1", "1.1.1.1"}},
        {"back up a level and on to a second root", depths({0, 1, 2, 1, 0, 1}),
         {"1", "1.1", "1.1.1", "1.2", "2", "2.1"}},
        {"a count past 9", depths({0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}),
         {"1", "1.1", "1.2", "1.3", "1.4", "1.5", "1.6", "1.7", "1.8", "1.9", "1.10"}},
        {"no elements", {}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TreePlaces(c.elements), c.places) << c.what;
}

}  // namespace
