// numbers.h: numbers read from text and written back in their short form.
//   double scale; if (!ParseReal("2.5", &scale)) ...;  ShortNumber(0.1) == "0.1"
#pragma once

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

// The whole text is one finite number (decimal, as strtod reads it).
inline bool ParseReal(const std::string& text, double* out)
{
    char* end;
    *out = strtod(text.c_str(), &end);
    return !text.empty() && *end == 0 && isfinite(*out);
}

// The %g form: no trailing zeros, 6 significant digits.
inline std::string ShortNumber(double value)
{
    char text[32];
    snprintf(text, sizeof text, "%g", value);
    return text;
}
