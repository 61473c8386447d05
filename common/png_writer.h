// png_writer.h: writes 8-bit RGB images as PNG files, with no library.
//
// Usage:
//   std::string error;
//   if (!WritePng("face.png", width, height, rgb, width * 3, &error))
//       fprintf(stderr, "%s\n", error.c_str());
//
// rgb points at the top row; each row holds width red, green, blue bytes and
// starts stride bytes after the previous one. EncodePng gives the same bytes
// in memory. The output depends only on the pixels, so equal images give
// equal files.
//
// The compression is plain: a greedy LZ77 match search coded with the fixed
// Huffman codes of deflate, after the usual per-row filter choice. Flat
// artwork shrinks well; photographs would not.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

bool EncodePng(int width, int height, const uint8_t* rgb, int stride, std::vector<uint8_t>* png,
               std::string* error);

bool WritePng(const char* path, int width, int height, const uint8_t* rgb, int stride,
              std::string* error);
