// file_bytes.h: a whole file read into memory.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

// Replaces *bytes with the file's contents; false when it cannot be opened
// or read to its end.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>* bytes);
