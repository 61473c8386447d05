// byte_order.h: 16- and 32-bit fields read and written byte by byte,
// whatever the alignment and the machine: little-endian as Windows file
// formats keep them, big-endian as PNG does.
#pragma once

#include <stdint.h>

#include <vector>

inline uint16_t LittleEndian16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t LittleEndian32(const uint8_t* p) { return LittleEndian16(p) | uint32_t(LittleEndian16(p + 2)) << 16; }
inline uint16_t BigEndian16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }
inline uint32_t BigEndian32(const uint8_t* p) { return uint32_t(BigEndian16(p)) << 16 | BigEndian16(p + 2); }

// The low `bytes` bytes of value (2 or 4), at p or after the end of out.
inline void StoreLittleEndian(uint8_t* p, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        p[i] = uint8_t(value >> (8 * i));
}
inline void AppendLittleEndian(std::vector<uint8_t>* out, uint32_t value, int bytes)
{
    out->resize(out->size() + bytes);
    StoreLittleEndian(out->data() + out->size() - bytes, value, bytes);
}
inline void AppendBigEndian(std::vector<uint8_t>* out, uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out->push_back(uint8_t(value >> (8 * i)));
}
