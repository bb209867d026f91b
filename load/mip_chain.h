// The level-count rule shared by the raster and SVG loaders, and the sizes it implies.
#pragma once

#include <cstdint>

#include "rw_types.h"

struct MipChain {
    uint32_t width;        // level 0 width
    uint32_t height;       // level 0 height
    uint32_t levelCount;   // at least 1
    RwInt32 rasterFlags;   // 0x504 for one level, 0x8504 for more
};

// floor(log2(max(width, height))) + 1: halvings of the larger side until it is 1 or less.
uint32_t FullMipLevelCount(uint32_t width, uint32_t height);

// One level without mipmaps; else the full chain, capped by maxMipLevels unless that is 0.
MipChain ComputeMipChain(uint32_t width, uint32_t height, bool useMipmaps, uint32_t maxMipLevels);

// max(1, size >> level): each side halves on its own and stops at 1.
uint32_t MipLevelSize(uint32_t size, uint32_t level);

// Bytes of all levels, rows packed, in wrapping unsigned 32-bit arithmetic as the cache stores it.
uint32_t MipChainDataSize(uint32_t width, uint32_t height, uint32_t levelCount);

// 6 only for a complete chain of two or more levels; 2 otherwise.
RwUInt32 ChainFilterMode(uint32_t levelCount, bool anyLevelFailed);
