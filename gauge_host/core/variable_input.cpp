#include "gauge_host/core/variable_input.h"
#include "common/numbers.h"

#include <errno.h>
#include <math.h>
#include <stdlib.h>

#include <algorithm>

namespace {

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

int SliderPosition(double value)
{
    return int(std::clamp(lround(value * SliderPositions), 0L, long(SliderPositions)));
}

double SliderValue(int position)
{
    return double(position) / SliderPositions;
}

double SteppedValue(double value, int positions)
{
    return SliderValue(std::clamp(SliderPosition(value) + positions, 0, SliderPositions));
}

bool ParseVariableNumber(const std::string& text, uint32_t* number)
{
    const std::string t = Trimmed(text);
    const bool hex = t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X');
    // strtoul would take a sign and, with base 0, read a leading 0 as octal.
    if (t.empty() || t.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789", hex ? 2 : 0) !=
                         std::string::npos)
        return false;
    errno = 0;
    const unsigned long long value = strtoull(t.c_str(), nullptr, hex ? 16 : 10);
    if (errno == ERANGE || value > 0xFFFFFFFFull)
        return false;
    *number = uint32_t(value);
    return true;
}

bool ParseVariableValue(const std::string& text, double* value)
{
    return ParseReal(Trimmed(text), value);
}
