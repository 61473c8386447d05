// pe_resources.h: the resources of a Windows module file, read from its
// resource directory (type, then name, then language) without Windows.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

struct PeResource {
    // Numbered entries; a named one has number 0 and its name here.
    uint32_t type = 0, id = 0, language = 0;
    std::string type_name, id_name;
    std::vector<uint8_t> data;
};

enum : uint32_t { RESOURCE_BITMAP = 2, RESOURCE_VERSION = 16 };

bool ReadPeResources(const std::string& path, std::vector<PeResource>* resources, std::string* error);

// The first resource of that type and number, or null.
const PeResource* FindPeResource(const std::vector<PeResource>& resources, uint32_t type, uint32_t id);
