// gauge_description.h: a module's records printed as a tree a panel
// builder can read, for `gauge-host describe`.
//
// Usage:
//   ModuleFacts facts;  // what the platform layer read besides the records
//   DescribeModule(records, facts, stdout);
#pragma once

#include <stdio.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "gauge_host/core/record_walk.h"

struct ResourceEntry {
    std::string type, name;  // a number as text, or the resource's name
    uint32_t language = 0;
    uint32_t size = 0;
};

struct BitmapFacts {
    int width = 0, height = 0, bits_per_pixel = 0, colours = 0;
    std::string error;  // why it could not be read, when it could not
};

struct ModuleFacts {
    std::string path;
    std::map<int32_t, BitmapFacts> bitmaps;  // by resource number
    std::vector<ResourceEntry> resources;
    std::string file_version, product_version;  // from the fixed file information
    std::vector<std::pair<std::string, std::string>> version_strings;
    std::string version_error;  // why there are none, when there are none
};

void DescribeModule(const ModuleRecords& module, const ModuleFacts& facts, FILE* out);
