// Finished mip chains kept on disk in a ".mipcache" folder beside the source image.
//
// File layout, all fields unsigned 32-bit little-endian:
//   offset  field                content
//   0       magic                0x4D495043, bytes "CPIM"
//   4       version              1
//   8       sourceWriteTimeLow   ftLastWriteTime.dwLowDateTime of the source
//   12      sourceWriteTimeHigh  ftLastWriteTime.dwHighDateTime of the source
//   16      sourceSizeLow        nFileSizeLow of the source
//   20      sourceSizeHigh       nFileSizeHigh of the source
//   24      width                level 0 width
//   28      height               level 0 height
//   32      levelCount           levels stored, at least 1
//   36      rasterFlags          0x504 (one level) or 0x8504 (more)
//   40      dataSize             sum of max(1,W>>i)*max(1,H>>i)*4, wrapping
//   44      pixel data           levels ascending, rows top to bottom, BGRA, nothing between
#pragma once

#include <cstdint>
#include <string>

#include "../platform/platform.h"
#include "rw_types.h"

inline constexpr uint32_t kMipCacheMagic = 0x4D495043;
inline constexpr uint32_t kMipCacheVersion = 1;
inline constexpr size_t kMipCacheHeaderSize = 44;

struct MipCacheHeader {
    uint32_t magic;
    uint32_t version;
    uint32_t sourceWriteTimeLow;
    uint32_t sourceWriteTimeHigh;
    uint32_t sourceSizeLow;
    uint32_t sourceSizeHigh;
    uint32_t width;
    uint32_t height;
    uint32_t levelCount;
    uint32_t rasterFlags;
    uint32_t dataSize;
};

void EncodeMipCacheHeader(const MipCacheHeader& header, uint8_t (&bytes)[kMipCacheHeaderSize]);
MipCacheHeader DecodeMipCacheHeader(const uint8_t (&bytes)[kMipCacheHeaderSize]);

// What a cache file records of its source: the last-write time and size.
struct SourceAttributes {
    FILETIME lastWrite;
    DWORD sizeLow;
    DWORD sizeHigh;
};

// False when the file's attributes cannot be had (among other causes, it does not exist).
bool ReadSourceAttributes(const char* filePath, SourceAttributes& out);

// "<dir>\\.mipcache\\<name>_<W>x<H>.mipmap"; creates the cache folder, ignoring the outcome.
std::string MakeMipCachePath(const char* filePath, uint32_t width, uint32_t height);

// Why a cache file does or does not serve a request; used by the lookup and by tools.
enum class MipCacheVerdict {
    Valid,
    NotLookedUp,
    NoSource,
    NoFile,
    Unreadable,
    BadMagic,
    BadVersion,
    WrongSize,
    SourceChanged,
    WrongLevels,
    WrongFlags,
    WrongDataSize,
    RasterRefused,
    LevelNotLocked,
    ShortData,
    TextureRefused,
};

// A new raster holding a cache file's chain when the file is valid for a source with `source`'s
// attributes; null for any miss, with the reason in `verdict`.
RwRaster* LoadMipCacheToRwRaster(const SourceAttributes& source, const char* cachePath,
                                 uint32_t width, uint32_t height, bool useMipmaps,
                                 uint32_t maxMipLevels, MipCacheVerdict& verdict);

// Writes the raster's filled levels under `source`'s attributes; a file left half-written is
// deleted. True when complete.
bool SaveRwRasterToMipCache(const char* cachePath, const SourceAttributes& source, RwRaster* raster,
                            uint32_t width, uint32_t height, uint32_t levelCount,
                            RwInt32 rasterFlags);

// Checks a header against the source's attributes and the request's chain.
MipCacheVerdict CheckMipCacheHeader(const MipCacheHeader& header, const SourceAttributes& source,
                                    uint32_t width, uint32_t height, bool useMipmaps,
                                    uint32_t maxMipLevels);

const char* MipCacheVerdictText(MipCacheVerdict verdict);
