// Bitmaps as a module's resources hold them: good 8- and 24-bit ones read
// right, and each kind of bad one refused with its message.
#include <gtest/gtest.h>

#include <functional>

#include "common/byte_order.h"
#include "gauge_host/core/dib_reader.h"

namespace {

// A BITMAPINFOHEADER and colour table of `colours` entries (entry i is
// blue i, green 2i, red 3i); rows of zero bytes, padded to 4 bytes, left
// out when they would pass a megabyte.
std::vector<uint8_t> MakeDib(int32_t width, int32_t height, uint16_t bits, uint32_t colours = 0,
                             uint32_t header_size = 40)
{
    const size_t stride = (size_t(width > 0 ? width : 0) * bits + 31) / 32 * 4;
    const size_t rows = size_t(height < 0 ? -int64_t(height) : height);
    const size_t table = bits == 8 ? (colours ? colours : 256) : 0;
    const size_t pixels = stride * rows;
    std::vector<uint8_t> bytes(header_size + table * 4 + (pixels <= (1 << 20) ? pixels : 0));
    StoreLittleEndian(&bytes[0], header_size, 4);
    StoreLittleEndian(&bytes[4], uint32_t(width), 4);
    StoreLittleEndian(&bytes[8], uint32_t(height), 4);
    StoreLittleEndian(&bytes[12], 1, 2);
    StoreLittleEndian(&bytes[14], bits, 2);
    StoreLittleEndian(&bytes[32], colours, 4);
    for (size_t i = 0; i < table; ++i) {
        bytes[header_size + i * 4] = uint8_t(i);
        bytes[header_size + i * 4 + 1] = uint8_t(2 * i);
        bytes[header_size + i * 4 + 2] = uint8_t(3 * i);
    }
    return bytes;
}

struct BadCase {
    const char* name;
    std::function<std::vector<uint8_t>()> make;
    std::string error;
};

TEST(DibReader, BadBitmapsAreRefusedWithAClearMessage)
{
    const BadCase cases[] = {
        {"truncated header",
         [] {
             auto d = MakeDib(2, 2, 24);
             d.resize(20);
             return d;
         },
         "bitmap of 20 bytes is shorter than its 40-byte header"},
        {"empty", [] { return std::vector<uint8_t>(); }, "bitmap of 0 bytes is shorter than its 40-byte header"},
        {"header size too small",
         [] {
             auto d = MakeDib(2, 2, 24);
             StoreLittleEndian(&d[0], 12, 4);  // an old BITMAPCOREHEADER's size
             return d;
         },
         "bitmap header size 12 is shorter than the 40-byte header"},
        {"header size past the data",
         [] {
             auto d = MakeDib(2, 2, 24);
             StoreLittleEndian(&d[0], 4000, 4);
             return d;
         },
         "bitmap header size 4000 does not fit 56 bytes"},
        {"width zero", [] { return MakeDib(0, 2, 24); }, "bitmap size 0 x 2 is outside 1..16384"},
        {"width negative", [] { return MakeDib(-3, 2, 24); }, "bitmap size -3 x 2 is outside 1..16384"},
        {"height zero", [] { return MakeDib(2, 0, 24); }, "bitmap size 2 x 0 is outside 1..16384"},
        {"width huge", [] { return MakeDib(16385, 1, 24); }, "bitmap size 16385 x 1 is outside 1..16384"},
        {"height huge, top-down", [] { return MakeDib(1, -16385, 24); }, "bitmap size 1 x -16385 is outside 1..16384"},
        {"height the most negative",
         [] { return MakeDib(1, INT32_MIN, 24); }, "bitmap size 1 x -2147483648 is outside 1..16384"},
        {"two planes",
         [] {
             auto d = MakeDib(2, 2, 24);
             StoreLittleEndian(&d[12], 2, 2);
             return d;
         },
         "bitmap has 2 planes, expected 1"},
        {"run-length compressed",
         [] {
             auto d = MakeDib(2, 2, 8, 2);
             StoreLittleEndian(&d[16], 1, 4);
             return d;
         },
         "bitmap compression 1 is not supported (only uncompressed)"},
        {"16 bits", [] { return MakeDib(2, 2, 16); }, "bitmap has 16 bits per pixel; only 8 and 24 are supported"},
        {"32 bits", [] { return MakeDib(2, 2, 32); }, "bitmap has 32 bits per pixel; only 8 and 24 are supported"},
        {"1 bit", [] { return MakeDib(2, 2, 1); }, "bitmap has 1 bits per pixel; only 8 and 24 are supported"},
        {"colour table over 256",
         [] {
             auto d = MakeDib(2, 2, 8, 4);
             StoreLittleEndian(&d[32], 300, 4);
             return d;
         },
         "bitmap colour table of 300 entries; at most 256"},
        {"colour table count beyond the data",
         [] {
             auto d = MakeDib(2, 2, 8, 4);  // 40 + 16 + 8 bytes
             StoreLittleEndian(&d[32], 200, 4);
             return d;
         },
         "bitmap of 2 x 2 at 8 bits needs 848 bytes, has 64"},
        {"8-bit default table of 256 beyond the data",
         [] {
             auto d = MakeDib(2, 2, 8, 4);
             StoreLittleEndian(&d[32], 0, 4);
             return d;
         },
         "bitmap of 2 x 2 at 8 bits needs 1072 bytes, has 64"},
        {"pixel rows one byte short",
         [] {
             auto d = MakeDib(3, 2, 24);  // rows of 12 bytes: 40 + 24
             d.pop_back();
             return d;
         },
         "bitmap of 3 x 2 at 24 bits needs 64 bytes, has 63"},
        {"huge size that fits the limits but not the data", [] { return MakeDib(16384, 16384, 24); },
         "bitmap of 16384 x 16384 at 24 bits needs 805306408 bytes, has 40"},
        {"pixel beyond the colour table",
         [] {
             auto d = MakeDib(2, 1, 8, 2);  // table of 2, one row of 4 bytes
             d[40 + 8 + 1] = 5;
             return d;
         },
         "bitmap pixel (1, 0) uses colour 5 of a 2-entry table"},
    };
    for (const BadCase& c : cases) {
        const std::vector<uint8_t> bytes = c.make();
        Dib dib;
        dib.width = 99;
        std::string error;
        EXPECT_FALSE(ReadDib(bytes.data(), bytes.size(), &dib, &error)) << "case " << c.name;
        EXPECT_EQ(error, c.error) << "case " << c.name;
        EXPECT_EQ(dib.width, 0) << "case " << c.name << ": no half-read bitmap left behind";
        EXPECT_TRUE(dib.rgb.empty()) << "case " << c.name;
    }
}

std::vector<uint8_t> Rgb(const Dib& dib, int x, int y)
{
    const uint8_t* p = &dib.rgb[(size_t(y) * dib.width + x) * 3];
    return {p[0], p[1], p[2]};
}

// Rows are stored bottom row first unless the height is negative; each
// row is padded to 4 bytes; pixels are blue, green, red.
TEST(DibReader, TwentyFourBitRowsComeOutTopRowFirst)
{
    for (bool bottom_up : {true, false}) {
        auto d = MakeDib(2, bottom_up ? 2 : -2, 24);  // rows of 8 bytes
        const uint8_t first_stored[6] = {1, 2, 3, 4, 5, 6}, second_stored[6] = {7, 8, 9, 10, 11, 12};
        std::copy(first_stored, first_stored + 6, d.begin() + 40);
        std::copy(second_stored, second_stored + 6, d.begin() + 48);
        Dib dib;
        std::string error;
        ASSERT_TRUE(ReadDib(d.data(), d.size(), &dib, &error)) << error;
        EXPECT_EQ(dib.width, 2);
        EXPECT_EQ(dib.height, 2);
        EXPECT_EQ(dib.bits_per_pixel, 24);
        EXPECT_EQ(dib.colours, 0);
        const std::vector<uint8_t> top_left = bottom_up ? std::vector<uint8_t>{9, 8, 7} : std::vector<uint8_t>{3, 2, 1};
        const std::vector<uint8_t> bottom_right =
            bottom_up ? std::vector<uint8_t>{6, 5, 4} : std::vector<uint8_t>{12, 11, 10};
        EXPECT_EQ(Rgb(dib, 0, 0), top_left) << "bottom_up " << bottom_up;
        EXPECT_EQ(Rgb(dib, 1, 1), bottom_right) << "bottom_up " << bottom_up;
    }
}

TEST(DibReader, EightBitPixelsLookUpTheColourTable)
{
    auto d = MakeDib(3, 2, 8, 4);  // table entry i: red 3i, green 2i, blue i; rows of 4 bytes
    const uint8_t bottom[3] = {0, 1, 2}, top[3] = {3, 2, 1};
    std::copy(bottom, bottom + 3, d.begin() + 56);
    std::copy(top, top + 3, d.begin() + 60);
    Dib dib;
    std::string error;
    ASSERT_TRUE(ReadDib(d.data(), d.size(), &dib, &error)) << error;
    EXPECT_EQ(dib.colours, 4);
    EXPECT_EQ(dib.bits_per_pixel, 8);
    EXPECT_EQ(Rgb(dib, 0, 0), (std::vector<uint8_t>{9, 6, 3}));
    EXPECT_EQ(Rgb(dib, 2, 0), (std::vector<uint8_t>{3, 2, 1}));
    EXPECT_EQ(Rgb(dib, 0, 1), (std::vector<uint8_t>{0, 0, 0}));
    EXPECT_EQ(Rgb(dib, 2, 1), (std::vector<uint8_t>{6, 4, 2}));

    // No count means the full 256 entries; a longer header puts the table after it.
    auto full = MakeDib(1, 1, 8, 0, 124);
    full[124 + 256 * 4] = 255;
    ASSERT_TRUE(ReadDib(full.data(), full.size(), &dib, &error)) << error;
    EXPECT_EQ(dib.colours, 256);
    EXPECT_EQ(Rgb(dib, 0, 0), (std::vector<uint8_t>{255 * 3 % 256, 255 * 2 % 256, 255}));
}

}  // namespace
