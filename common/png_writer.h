// png_writer.h: writes 8-bit RGB images as PNG files; zlib compresses.
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
// The pieces are public for writers of other PNG layouts (an animated PNG
// is the same signature and chunks with more chunk types):
//   png = PngSignature();
//   AppendPngChunk(&png, "IHDR", PngHeader(width, height));
//   CompressPngRows(width, height, rgb, stride, &data, &error);
//   AppendPngChunk(&png, "IDAT", data);
//   AppendPngChunk(&png, "IEND", {});
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

std::vector<uint8_t> PngSignature();

// IHDR's 13 bytes: the size, 8-bit RGB, not interlaced.
std::vector<uint8_t> PngHeader(int width, int height);

// Appends length, type, data and CRC.
void AppendPngChunk(std::vector<uint8_t>* png, const char type[4], const std::vector<uint8_t>& data);

// The zlib stream of an image's filtered rows, as IDAT (or fdAT) carries it.
bool CompressPngRows(int width, int height, const uint8_t* rgb, int stride, std::vector<uint8_t>* compressed,
                     std::string* error);

bool EncodePng(int width, int height, const uint8_t* rgb, int stride, std::vector<uint8_t>* png,
               std::string* error);

bool WritePng(const char* path, int width, int height, const uint8_t* rgb, int stride,
              std::string* error);
