// text_format.h: printf into a std::string, whatever its length.
//   std::string line = Format("click %d %d", x, y);
#pragma once

#include <stdarg.h>
#include <stdio.h>

#include <string>

inline std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
inline std::string Format(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    va_list again;
    va_copy(again, arguments);
    const int length = vsnprintf(nullptr, 0, format, arguments);
    va_end(arguments);
    std::string text(length > 0 ? size_t(length) : 0, '\0');
    if (length > 0)
        vsnprintf(&text[0], text.size() + 1, format, again);
    va_end(again);
    return text;
}
