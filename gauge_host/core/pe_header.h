// pe_header.h: tells from a file's first bytes whether it is a 32-bit x86
// Windows DLL, the only kind of module this host can load, and if not,
// what it is instead -- so a wrong file gets a plain answer rather than a
// loader error number.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>

// Enough of a file's start to reach its PE header in any ordinary module.
constexpr size_t PeHeadBytes = 4096;

bool CheckModuleHead(const uint8_t* bytes, size_t size, std::string* error);
