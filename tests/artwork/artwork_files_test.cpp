// The generator's files: the same bytes on every run, carried unchanged by
// ZARO.gau, and PNG copies showing the same pixels.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include "tests/artwork/module_artwork.h"
#include "common/byte_order.h"
#include "common/png_reader.h"
#include "common/file_bytes.h"

namespace {

const char* const Files[] = {"face.bmp", "knob.bmp", "face.png", "knob.png"};

// Runs the generator into a fresh folder and reads back its four files.
bool Generate(std::vector<std::vector<uint8_t>>* files, std::string* error)
{
    char folder[] = "/tmp/artwork_XXXXXX";
    if (!mkdtemp(folder))
        return *error = "no temporary folder", false;
    const std::string command = std::string("'") + ARTWORK_GENERATOR + "' " + folder;
    bool ok = system(command.c_str()) == 0;
    files->clear();
    for (const char* name : Files) {
        const std::string path = std::string(folder) + "/" + name;
        files->emplace_back();
        ok = ReadFileBytes(path, &files->back()) && ok;
        unlink(path.c_str());
    }
    rmdir(folder);
    if (!ok)
        *error = command + " failed";
    return ok;
}

class ArtworkFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        std::string error;
        if (!Generate(&first, &error) || !Generate(&second, &error))
            generate_error = error;
    }
    void SetUp() override
    {
        ASSERT_EQ(generate_error, "");
        ASSERT_EQ(LoadModuleArtwork().error, "");
    }

    static inline std::vector<std::vector<uint8_t>> first, second;
    static inline std::string generate_error;
};

TEST_F(ArtworkFiles, EveryRunWritesTheSameBytes)
{
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_FALSE(first[i].empty()) << Files[i];
        EXPECT_TRUE(first[i] == second[i]) << Files[i] << " differs between runs";
    }
}

// The resource is the .bmp file less its 14-byte file header.
TEST_F(ArtworkFiles, ModuleCarriesTheBitmapFiles)
{
    const struct {
        const std::vector<uint8_t>& file;
        uint32_t id, pixel_offset;
    } bitmaps[] = {{first[0], 4357, 54}, {first[1], 4358, 54 + 360}};
    for (const auto& b : bitmaps) {
        SCOPED_TRACE(testing::Message() << "bitmap " << b.id);
        ASSERT_GT(b.file.size(), 14u);
        EXPECT_EQ(b.file[0], 'B');
        EXPECT_EQ(b.file[1], 'M');
        EXPECT_EQ(LittleEndian32(&b.file[2]), b.file.size());
        EXPECT_EQ(LittleEndian32(&b.file[10]), b.pixel_offset);
        const PeResource* r = FindPeResource(LoadModuleArtwork().resources, RESOURCE_BITMAP, b.id);
        ASSERT_NE(r, nullptr);
        EXPECT_TRUE(std::vector<uint8_t>(b.file.begin() + 14, b.file.end()) == r->data);
    }
}

TEST_F(ArtworkFiles, PngCopiesShowTheBitmaps)
{
    const Bitmap* bitmaps[] = {&LoadModuleArtwork().face, &LoadModuleArtwork().knob};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(Files[2 + i]);
        DecodedPng png;
        std::string error;
        ASSERT_TRUE(DecodePng(first[2 + i], &png, &error)) << error;
        const Bitmap& bitmap = *bitmaps[i];
        ASSERT_EQ(png.width, bitmap.width);
        ASSERT_EQ(png.height, bitmap.height);
        long differ = 0;
        for (size_t p = 0; p < bitmap.pixels.size(); ++p) {
            const Colour& c = bitmap.pixels[p];
            differ += png.rgb[3 * p] != c.r || png.rgb[3 * p + 1] != c.g || png.rgb[3 * p + 2] != c.b;
        }
        EXPECT_EQ(differ, 0);
    }
}

}  // namespace
