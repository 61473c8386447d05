// The PNG writer's output decoded by zlib and a plain reader: the pixels
// come back exactly, whatever the size, stride or content.
#include <gtest/gtest.h>

#include <functional>

#include "common/png_reader.h"
#include "common/png_writer.h"

namespace {

struct Fixture {
    const char* name;
    int width, height, padding;  // padding: bytes past each row's pixels
    std::function<uint8_t(int x, int y, int channel)> pixel;
};

uint8_t Noise(int x, int y, int c)
{
    uint32_t h = uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u ^ uint32_t(c) * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return uint8_t(h >> 24);
}

const Fixture Fixtures[] = {
    {"one pixel", 1, 1, 0, [](int, int, int c) { return uint8_t(40 * c + 7); }},
    {"noise, odd size", 7, 5, 0, Noise},
    {"gradients", 300, 4, 0, [](int x, int y, int c) { return uint8_t(c == 0 ? x : c == 1 ? y * 60 : x ^ y); }},
    // Runs longer than one match (258) and repeats from far back in the window.
    {"long repeats", 640, 60, 0, [](int x, int y, int c) { return uint8_t((x / 50 + y / 20 + c) % 3 * 100); }},
    {"tall and narrow", 2, 300, 0, [](int x, int y, int c) { return uint8_t(y * (c + 1) + x); }},
    {"padded rows", 33, 17, 5, Noise},
};

std::vector<uint8_t> Pixels(const Fixture& f)
{
    const int stride = f.width * 3 + f.padding;
    std::vector<uint8_t> pixels(size_t(stride) * f.height, 0xEE);
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x)
            for (int c = 0; c < 3; ++c)
                pixels[size_t(y) * stride + 3 * x + c] = f.pixel(x, y, c);
    return pixels;
}

TEST(PngWriter, PixelsComeBackExactly)
{
    for (const Fixture& f : Fixtures) {
        SCOPED_TRACE(f.name);
        const std::vector<uint8_t> pixels = Pixels(f);
        std::vector<uint8_t> png;
        std::string error;
        ASSERT_TRUE(EncodePng(f.width, f.height, pixels.data(), f.width * 3 + f.padding, &png, &error)) << error;
        DecodedPng decoded;
        ASSERT_TRUE(DecodePng(png, &decoded, &error)) << error;
        EXPECT_EQ(decoded.width, f.width);
        EXPECT_EQ(decoded.height, f.height);
        EXPECT_EQ(decoded.chunks, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
        std::vector<uint8_t> expected;
        for (int y = 0; y < f.height; ++y) {
            const uint8_t* row = &pixels[size_t(y) * (f.width * 3 + f.padding)];
            expected.insert(expected.end(), row, row + f.width * 3);
        }
        EXPECT_EQ(decoded.rgb, expected);
    }
}

// An uncompressed stream would decode just as well; flat artwork must shrink.
TEST(PngWriter, FlatImagesCompress)
{
    std::vector<uint8_t> flat(600 * 600 * 3, 25), png;
    std::string error;
    ASSERT_TRUE(EncodePng(600, 600, flat.data(), 600 * 3, &png, &error)) << error;
    EXPECT_LT(png.size(), flat.size() / 100);
}

// The public pieces make a valid file with a chunk of the caller's own.
TEST(PngWriter, PiecesMakeAFileWithExtraChunks)
{
    const uint8_t rgb[2 * 3] = {10, 20, 30, 40, 50, 60};
    std::vector<uint8_t> png = PngSignature(), compressed;
    std::string error;
    AppendPngChunk(&png, "IHDR", PngHeader(2, 1));
    AppendPngChunk(&png, "tEXt", {'a', 0, 'b'});
    ASSERT_TRUE(CompressPngRows(2, 1, rgb, 6, &compressed, &error)) << error;
    AppendPngChunk(&png, "IDAT", compressed);
    AppendPngChunk(&png, "IEND", {});
    DecodedPng decoded;
    ASSERT_TRUE(DecodePng(png, &decoded, &error)) << error;
    EXPECT_EQ(decoded.chunks, (std::vector<std::string>{"IHDR", "tEXt", "IDAT", "IEND"}));
    EXPECT_EQ(decoded.rgb, std::vector<uint8_t>(rgb, rgb + 6));
}

TEST(PngWriter, RefusesBadArgumentsAndUnwritablePaths)
{
    const uint8_t pixel[3] = {1, 2, 3};
    const struct {
        const char* what;
        int width, height, stride;
        const uint8_t* rgb;
    } cases[] = {
        {"zero width", 0, 1, 3, pixel},
        {"negative height", 1, -1, 3, pixel},
        {"stride shorter than a row", 2, 1, 5, pixel},
        {"no pixels", 1, 1, 3, nullptr},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> png;
        std::string error;
        EXPECT_FALSE(EncodePng(c.width, c.height, c.rgb, c.stride, &png, &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
    std::string error;
    EXPECT_FALSE(WritePng("/nonexistent-folder/picture.png", 1, 1, pixel, 3, &error));
    EXPECT_NE(error.find("/nonexistent-folder/picture.png"), std::string::npos) << error;
}

}  // namespace
