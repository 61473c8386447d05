// ZARO.gau's resource table, read by the tests' own reader and checked
// against wrestool (icoutils), which reads it independently.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <set>
#include <tuple>

#include "tests/artwork/module_artwork.h"
#include "common/byte_order.h"
#include "common/png_reader.h"
#include "common/file_bytes.h"

namespace {

class ResourceTable : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(LoadModuleArtwork().error, ""); }

    const ModuleArtwork& module = LoadModuleArtwork();
};

std::string RunCommand(const std::string& command, bool* ok)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        *ok = false;
        return out;
    }
    char buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, got);
    *ok = pclose(pipe) == 0;
    return out;
}

TEST_F(ResourceTable, ThreeResourcesUnderUsEnglish)
{
    using Entry = std::tuple<uint32_t, uint32_t, uint32_t>;
    std::vector<Entry> found;
    for (const PeResource& r : module.resources) {
        EXPECT_TRUE(r.type_name.empty() && r.id_name.empty()) << "named resource " << r.type_name << "/" << r.id_name;
        found.push_back({r.type, r.id, r.language});
    }
    EXPECT_EQ(found, (std::vector<Entry>{{RESOURCE_BITMAP, 4357, 0x0409},
                                         {RESOURCE_BITMAP, 4358, 0x0409},
                                         {RESOURCE_VERSION, 1, 0x0409}}));
    const struct {
        uint32_t id;
        size_t size;
    } bitmaps[] = {{4357, 1080040}, {4358, 183200}};
    for (const auto& b : bitmaps) {
        const PeResource* r = FindPeResource(module.resources, RESOURCE_BITMAP, b.id);
        ASSERT_NE(r, nullptr) << b.id;
        EXPECT_EQ(r->data.size(), b.size) << "stored size of bitmap " << b.id;
    }
}

// Uncompressed, bottom-up (positive height), 300 dpi, rows needing no padding.
TEST_F(ResourceTable, BitmapHeadersAsStored)
{
    const Bitmap& face = module.face;
    const Bitmap& knob = module.knob;
    const struct {
        const char* field;
        long face, knob;
        long expected_face, expected_knob;
    } fields[] = {
        {"header size", face.header_size, knob.header_size, 40, 40},
        {"width", face.width, knob.width, 600, 400},
        {"height, bottom-up", face.stored_height, knob.stored_height, 600, 457},
        {"planes", face.planes, knob.planes, 1, 1},
        {"bits per pixel", face.bits, knob.bits, 24, 8},
        {"compression", face.compression, knob.compression, 0, 0},
        {"image size", face.image_size, knob.image_size, 1080000, 182800},
        {"pixels per metre, x", face.pixels_per_metre_x, knob.pixels_per_metre_x, 11811, 11811},
        {"pixels per metre, y", face.pixels_per_metre_y, knob.pixels_per_metre_y, 11811, 11811},
        {"colours used", face.colours_used, knob.colours_used, 0, 90},
        {"colours important", face.colours_important, knob.colours_important, 0, 0},
        {"colour table entries", long(face.colour_table.size()), long(knob.colour_table.size()), 0, 90},
        {"bytes per row", long(face.first_stored_row.size()), long(knob.first_stored_row.size()), 1800, 400},
    };
    for (const auto& f : fields) {
        EXPECT_EQ(f.face, f.expected_face) << "face: " << f.field;
        EXPECT_EQ(f.knob, f.expected_knob) << "knob: " << f.field;
    }
}

TEST_F(ResourceTable, WrestoolAgrees)
{
    bool ok;
    const std::string listing = RunCommand("wrestool -l '" + module.path + "'", &ok);
    ASSERT_TRUE(ok) << "wrestool (icoutils) must be installed: " << listing;
    std::set<std::tuple<unsigned, unsigned, unsigned, size_t>> theirs, ours;
    char line[512];
    for (size_t at = 0; at < listing.size();) {
        size_t end = listing.find('\n', at);
        if (end == std::string::npos)
            end = listing.size();
        snprintf(line, sizeof line, "%s", listing.substr(at, end - at).c_str());
        unsigned type, name, language;
        size_t size;
        char kind[32];
        unsigned long offset;
        if (sscanf(line, "--type=%u --name=%u --language=%u [type=%31s offset=%lx size=%zu]", &type, &name,
                   &language, kind, &offset, &size) == 6)
            theirs.insert({type, name, language, size});
        at = end + 1;
    }
    for (const PeResource& r : module.resources) {
        ours.insert({r.type, r.id, r.language, r.data.size()});
        const std::string raw = RunCommand("wrestool -x --raw --type=" + std::to_string(r.type) + " --name=" +
                                               std::to_string(r.id) + " --language=" + std::to_string(r.language) +
                                               " '" + module.path + "'",
                                           &ok);
        EXPECT_TRUE(ok);
        EXPECT_TRUE(std::vector<uint8_t>(raw.begin(), raw.end()) == r.data)
            << "bytes of resource " << r.type << "/" << r.id;
    }
    EXPECT_EQ(ours, theirs);
}

// Damaged modules are refused with a reason, never read out of bounds.
TEST(PeResourceReader, RefusesDamagedFiles)
{
    std::vector<uint8_t> module;
    ASSERT_TRUE(ReadFileBytes(ZARO_GAU, &module));
    char folder[] = "/tmp/pe_resources_XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    auto variant = [&](size_t keep, size_t patch_at, std::vector<uint8_t> patch) {
        std::vector<uint8_t> bytes(module.begin(), module.begin() + std::min(keep, module.size()));
        for (size_t i = 0; i < patch.size() && patch_at + i < bytes.size(); ++i)
            bytes[patch_at + i] = patch[i];
        return bytes;
    };
    const uint32_t pe = LittleEndian32(&module[0x3C]);
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"empty file", {}},
        {"no MZ", variant(module.size(), 0, {'Z', 'M'})},
        {"PE header beyond the end", variant(module.size(), 0x3C, {0xF0, 0xFF, 0xFF, 0x7F})},
        {"bad PE signature", variant(module.size(), pe, {'P', 'F'})},
        {"cut inside the headers", variant(300, 0, {})},
        {"cut before the resources", variant(0x1000, 0, {})},
        {"cut inside the face bitmap", variant(0x10000, 0, {})},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string path = std::string(folder) + "/case" + std::to_string(n++) + ".gau";
        FILE* file = fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        fwrite(c.bytes.data(), 1, c.bytes.size(), file);
        fclose(file);
        std::vector<PeResource> resources;
        std::string error;
        EXPECT_FALSE(ReadPeResources(path, &resources, &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
        unlink(path.c_str());
    }
    std::vector<PeResource> resources;
    std::string error;
    EXPECT_FALSE(ReadPeResources(std::string(folder) + "/missing.gau", &resources, &error));
    rmdir(folder);
}

}  // namespace
