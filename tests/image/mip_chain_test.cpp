#include <gtest/gtest.h>

#include "load/level_size.h"
#include "load/mip_chain.h"

namespace {

TEST(MipChain, FullChainHalvesTheLargerSideDownToOne) {
    EXPECT_EQ(FullMipLevelCount(64, 64), 7u);
    EXPECT_EQ(FullMipLevelCount(100, 30), 7u);
    EXPECT_EQ(FullMipLevelCount(1, 1), 1u);
    EXPECT_EQ(FullMipLevelCount(1, 256), 9u);
    EXPECT_EQ(FullMipLevelCount(0xFFFFFFFFu, 1), 32u);
}

TEST(MipChain, LevelCountAndFlagsFollowMipmapsAndCap) {
    MipChain full = ComputeMipChain(64, 64, true, 0);
    EXPECT_EQ(full.levelCount, 7u);
    EXPECT_EQ(full.rasterFlags, 0x8504);

    EXPECT_EQ(ComputeMipChain(64, 64, true, 3).levelCount, 3u);
    EXPECT_EQ(ComputeMipChain(64, 64, true, 100).levelCount, 7u);

    MipChain capped = ComputeMipChain(64, 64, true, 1);
    EXPECT_EQ(capped.levelCount, 1u);
    EXPECT_EQ(capped.rasterFlags, 0x504);

    MipChain single = ComputeMipChain(64, 64, false, 5);
    EXPECT_EQ(single.levelCount, 1u);
    EXPECT_EQ(single.rasterFlags, 0x504);

    MipChain dot = ComputeMipChain(1, 1, true, 0);
    EXPECT_EQ(dot.levelCount, 1u);
    EXPECT_EQ(dot.rasterFlags, 0x504);
}

TEST(MipChain, EachSideHalvesOnItsOwnAndStopsAtOne) {
    const uint32_t widths[] = {100, 50, 25, 12, 6, 3, 1};
    const uint32_t heights[] = {30, 15, 7, 3, 1, 1, 1};
    for (uint32_t i = 0; i < 7; ++i) {
        EXPECT_EQ(MipLevelSize(100, i), widths[i]) << "level " << i;
        EXPECT_EQ(MipLevelSize(30, i), heights[i]) << "level " << i;
    }
    EXPECT_EQ(MipLevelSize(0x80000000u, 31), 1u);
    EXPECT_EQ(MipLevelSize(0x80000000u, 40), 1u);
}

TEST(MipChain, DataSizeSumsPackedLevelsAndWraps) {
    EXPECT_EQ(MipChainDataSize(64, 64, 1), 64u * 64 * 4);
    EXPECT_EQ(MipChainDataSize(2, 2, 2), 16u + 4u);
    // 65536 x 65536 x 4 is 2^34: the stored size wraps to 0 in 32 bits.
    EXPECT_EQ(MipChainDataSize(65536, 65536, 1), 0u);
    // A hostile level count is bounded work, each extra level a 1x1.
    EXPECT_EQ(MipChainDataSize(1, 1, 0xFFFFFFFFu), 0xFFFFFFFFu * 4u);
}

// The spans a locked level may cover, judged as the DLLs judge them: their largest object is
// 2^31 - 1 bytes, and a product that wrapped in their 32-bit size_t would look small.
TEST(MipChain, LevelSpansAreReckonedInSixtyFourBitsAndJudgedAtThirtyTwo) {
    constexpr uint64_t kLargest32BitObject = 0x7FFFFFFF;
    const struct Case {
        const char* what;
        uint64_t stride;
        uint32_t rows;
        uint32_t width;
        bool fits;
    } cases[] = {
        {"the largest level the ceiling lets through", 16384 * 4, 16384, 16384, true},
        // 2^20 x 4096 is 2^32: 32-bit arithmetic makes this span 64 KiB.
        {"a span that wraps to 64 KiB", 0x100000, 4097, 16384, false},
        // 0xFFFFFFFF x 4 wraps to 0xFFFFFFFC in 32 bits: one row would look like 4 GiB - 4.
        {"a row of 2^32 - 1 pixels", 0x3FFFFFFFCull, 1, 0xFFFFFFFFu, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitsInAddressSpace(LevelSpan(c.stride, c.rows, RowBytes(c.width)), kLargest32BitObject),
                  c.fits)
            << c.what;
    // The largest chain the ceiling lets through sums below 2^32: its stored size never wraps.
    EXPECT_EQ(MipChainDataSize(16384, 16384, 15), 1431655764u);
}

TEST(MipChain, FilterModeSixOnlyForCompleteChains) {
    EXPECT_EQ(ChainFilterMode(7, false), 6u);
    EXPECT_EQ(ChainFilterMode(7, true), 2u);
    EXPECT_EQ(ChainFilterMode(1, false), 2u);
}

}  // namespace
