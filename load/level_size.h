// Level sizes in bytes, reckoned in 64 bits: in the DLLs size_t has 32, and a product of a
// width, a row count and a stride that wraps there would make a small buffer look large enough.
#pragma once

#include <cstdint>

// Direct3D 11's texture limit a side. No level, render target or raster beyond it is asked for:
// a 16384 x 16384 level alone is 1 GiB, most of what a 32-bit game has left.
inline constexpr uint32_t kMaxTextureSide = 16384;

inline bool WithinTextureLimit(uint32_t width, uint32_t height) {
    return width <= kMaxTextureSide && height <= kMaxTextureSide;
}

// Bytes of one row of `width` 4-byte pixels.
inline uint64_t RowBytes(uint32_t width) { return uint64_t{width} * 4; }

// Bytes a level spans in memory: `rows` rows `stride` bytes apart, the last one `rowBytes` long.
inline uint64_t LevelSpan(uint64_t stride, uint32_t rows, uint64_t rowBytes) {
    return rows == 0 ? 0 : stride * (rows - 1) + rowBytes;
}

// Whether `bytes` can be one object of a process whose largest object is `limit` bytes
// (PTRDIFF_MAX of the build: 2^31 - 1 in the DLLs).
inline bool FitsInAddressSpace(uint64_t bytes, uint64_t limit = PTRDIFF_MAX) {
    return bytes <= limit;
}
