// The version block (resource 1) as Windows' version functions read it.
#include <gtest/gtest.h>

#include "tests/artwork/module_artwork.h"
#include "tests/artwork/version_block.h"
#include "common/byte_order.h"

namespace {

class VersionResource : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(LoadModuleArtwork().error, "");
        const PeResource* r = FindPeResource(LoadModuleArtwork().resources, RESOURCE_VERSION, 1);
        ASSERT_NE(r, nullptr);
        std::string error;
        ASSERT_TRUE(ParseVersionBlock(r->data, &root, &error)) << error;
    }

    VersionNode root;
};

TEST_F(VersionResource, FixedFileInformation)
{
    EXPECT_EQ(root.key, "VS_VERSION_INFO");
    EXPECT_EQ(root.type, 0);
    ASSERT_EQ(root.value.size(), 52u);
    const struct {
        const char* field;
        uint32_t value;
    } fields[] = {
        {"signature", 0xFEEF04BD},
        {"structure version", 0x00010000},
        {"file version, most significant", 0x00010000},
        {"file version, least significant", 0},
        {"product version, most significant", 0x00010000},
        {"product version, least significant", 0},
        {"flags mask", 0x3F},
        {"flags", 0},
        {"operating system (VOS_DOS_WINDOWS32)", 0x00010004},
        {"file type (VFT_APP)", 1},
        {"file subtype", 0},
        {"file date, most significant", 0},
        {"file date, least significant", 0},
    };
    for (size_t i = 0; i < 13; ++i)
        EXPECT_EQ(LittleEndian32(&root.value[4 * i]), fields[i].value) << fields[i].field;
}

TEST_F(VersionResource, OneStringTableOfSixStringsInOrder)
{
    std::vector<std::string> blocks;
    for (const VersionNode& child : root.children)
        blocks.push_back(child.key);
    EXPECT_EQ(blocks, (std::vector<std::string>{"StringFileInfo", "VarFileInfo"}));

    const VersionNode* strings = root.Child("StringFileInfo");
    ASSERT_NE(strings, nullptr);
    ASSERT_EQ(strings->children.size(), 1u);
    const VersionNode& table = strings->children[0];
    EXPECT_EQ(table.key, "040904b0");

    std::vector<std::string> keys;
    for (const VersionNode& entry : table.children) {
        keys.push_back(entry.key);
        EXPECT_EQ(entry.type, 1) << entry.key << " is text";
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"CompanyName", "FileDescription", "FileVersion", "LegalCopyright",
                                              "ProductName", "ProductVersion"}));
    const struct {
        const char* key;
        const char* value;  // null: the implementer's own, any non-empty text
    } values[] = {
        {"CompanyName", nullptr},   {"FileDescription", "ZARO Gauges"}, {"FileVersion", "1.0.0"},
        {"LegalCopyright", nullptr}, {"ProductName", "ZARO Gauges"},    {"ProductVersion", "1.0.0"},
    };
    for (const auto& v : values) {
        const VersionNode* entry = table.Child(v.key);
        ASSERT_NE(entry, nullptr) << v.key;
        if (v.value)
            EXPECT_EQ(entry->Text(), v.value) << v.key;
        else
            EXPECT_FALSE(entry->Text().empty()) << v.key;
    }
}

TEST_F(VersionResource, TranslationIsUsEnglishUnicode)
{
    const VersionNode* var = root.Child("VarFileInfo");
    ASSERT_NE(var, nullptr);
    ASSERT_EQ(var->children.size(), 1u);
    const VersionNode& translation = var->children[0];
    EXPECT_EQ(translation.key, "Translation");
    EXPECT_EQ(translation.type, 0);
    EXPECT_EQ(translation.value, (std::vector<uint8_t>{0x09, 0x04, 0xB0, 0x04}));
}

}  // namespace
