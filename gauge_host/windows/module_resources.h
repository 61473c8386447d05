// module_resources.h: what Windows reads out of a loaded module for the
// host: its bitmaps by number, the list of its resources, and its version
// strings.
#pragma once

#include <windows.h>

#include <stdint.h>

#include <string>
#include <vector>

#include "gauge_host/core/gauge_description.h"

// A BitmapLoader: the DIB bytes of bitmap `number`, found through the
// resource handle a gauge passes to its install routine.
bool LoadBitmapResource(void* resource, int32_t number, std::vector<uint8_t>* dib, std::string* error);

std::vector<ResourceEntry> ListResources(HMODULE module);

// Fills the version fields of facts from the file's version resource.
void ReadVersionFacts(const char* path, ModuleFacts* facts);
