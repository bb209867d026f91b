#include "mip_chain.h"

uint32_t FullMipLevelCount(uint32_t width, uint32_t height) {
    uint32_t side = width > height ? width : height;
    uint32_t levels = 1;
    while (side > 1) {
        side >>= 1;
        ++levels;
    }
    return levels;
}

MipChain ComputeMipChain(uint32_t width, uint32_t height, bool useMipmaps, uint32_t maxMipLevels) {
    MipChain chain{width, height, 1, kRasterFlagsSingleLevel};
    if (!useMipmaps) return chain;
    uint32_t full = FullMipLevelCount(width, height);
    chain.levelCount = (maxMipLevels == 0 || maxMipLevels > full) ? full : maxMipLevels;
    chain.rasterFlags = chain.levelCount > 1 ? kRasterFlagsMipChain : kRasterFlagsSingleLevel;
    return chain;
}

uint32_t MipLevelSize(uint32_t size, uint32_t level) {
    uint32_t halved = level >= 32 ? 0 : size >> level;
    return halved == 0 ? 1 : halved;
}

uint32_t MipChainDataSize(uint32_t width, uint32_t height, uint32_t levelCount) {
    // From level 32 on every level is 1x1, so a hostile count costs no more than 32 steps.
    uint32_t sized = levelCount < 32 ? levelCount : 32;
    uint32_t total = 0;
    for (uint32_t i = 0; i < sized; ++i)
        total += MipLevelSize(width, i) * MipLevelSize(height, i) * 4u;
    return total + (levelCount - sized) * 4u;
}

RwUInt32 ChainFilterMode(uint32_t levelCount, bool anyLevelFailed) {
    return (anyLevelFailed || levelCount < 2) ? rwFILTERLINEAR : rwFILTERLINEARMIPLINEAR;
}
