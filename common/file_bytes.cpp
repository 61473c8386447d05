#include "common/file_bytes.h"

#include <stdio.h>

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>* bytes)
{
    bytes->clear();
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return false;
    uint8_t chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes->insert(bytes->end(), chunk, chunk + got);
    const bool complete = !ferror(file);
    fclose(file);
    return complete;
}
