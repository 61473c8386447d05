// ZARO.gau is the same from one build to the next: its PE header carries
// no link time, which would otherwise change every build.
#include <gtest/gtest.h>

#include "common/file_bytes.h"
#include "common/byte_order.h"

namespace {

TEST(ModuleFile, NoLinkTimeStamp)
{
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(ZARO_GAU, &bytes)) << ZARO_GAU;
    ASSERT_GE(bytes.size(), 0x40u);
    const uint32_t pe = LittleEndian32(&bytes[0x3C]);  // e_lfanew
    ASSERT_LE(size_t(pe) + 24, bytes.size());
    ASSERT_EQ(LittleEndian32(&bytes[pe]), 0x00004550u) << "no PE signature";
    EXPECT_EQ(LittleEndian32(&bytes[pe + 8]), 0u) << "COFF header TimeDateStamp";
}

}  // namespace
