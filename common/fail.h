// fail.h: the one-line error of functions that return false on failure.
//   if (size < 4) return Fail(error, "truncated header");
#pragma once

#include <string>
#include <utility>

inline bool Fail(std::string* error, std::string message)
{
    *error = std::move(message);
    return false;
}
