// little_endian.h: 16- and 32-bit fields of Windows file formats, read
// byte by byte, whatever the alignment and the machine.
#pragma once

#include <stdint.h>

inline uint16_t Word(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t Dword(const uint8_t* p) { return uint32_t(p[0] | p[1] << 8 | p[2] << 16) | uint32_t(p[3]) << 24; }
