// wine_test.h: checks for the Windows test programs, in the style of Wine's
// own tests.
//
//   ok(condition, "format", ...);   // counts a check, prints why it failed
//   return wine_test_summary("name");  // prints the totals, returns failures
//
// A failure prints "file:line: Test failed: message"; the program's exit
// status is the number of failures, so CTest sees any of them.
#pragma once

#include <stdarg.h>
#include <stdio.h>

static int wine_test_executed, wine_test_failures;

#ifdef __GNUC__
__attribute__((format(printf, 4, 5)))
#endif
static inline int wine_test_ok(const char* file, int line, int condition, const char* format, ...)
{
    ++wine_test_executed;
    if (!condition) {
        ++wine_test_failures;
        va_list args;
        va_start(args, format);
        printf("%s:%d: Test failed: ", file, line);
        vprintf(format, args);
        va_end(args);
        fflush(stdout);
    }
    return condition;
}

#define ok(condition, ...) wine_test_ok(__FILE__, __LINE__, !!(condition), __VA_ARGS__)

static inline int wine_test_summary(const char* name)
{
    printf("%s: %d tests executed, %d failures\n", name, wine_test_executed, wine_test_failures);
    return wine_test_failures > 255 ? 255 : wine_test_failures;
}
