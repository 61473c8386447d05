// libFuzzer target: any bytes as a bitmap resource give a bitmap whose
// pixels fill its size exactly, or one error.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include "gauge_host/core/dib_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Dib dib;
    std::string error;
    if (ReadDib(data, size, &dib, &error)) {
        if (dib.width <= 0 || dib.height <= 0 || dib.width > MaxDibDimension || dib.height > MaxDibDimension ||
            dib.rgb.size() != size_t(dib.width) * size_t(dib.height) * 3)
            abort();
    } else if (error.empty()) {
        abort();
    }
    return 0;
}
