// RenderWare engine records as the game's engine lays them out (32-bit SDK layouts).
#pragma once

#include <cstddef>
#include <cstdint>

typedef int32_t RwInt32;
typedef uint32_t RwUInt32;
typedef uint8_t RwUInt8;
typedef int32_t RwBool;

struct RwRaster {
    RwRaster* parent;      // top-level raster when this is a sub-raster
    RwUInt8* cpPixels;     // pixels while locked
    RwUInt8* palette;      // palette, unused for 8888
    RwInt32 width;         // level 0 width
    RwInt32 height;        // level 0 height
    RwInt32 depth;         // bits per pixel
    RwInt32 stride;        // bytes between rows of the locked level; read after each lock
    int16_t nOffsetX;      // sub-raster offset
    int16_t nOffsetY;
    RwUInt8 cType;         // raster type bits
    RwUInt8 cFlags;        // raster flags
    RwUInt8 privateFlags;  // engine-private
    RwUInt8 cFormat;       // format bits (flags >> 8)
    RwUInt8* originalPixels;
    RwInt32 originalWidth;
    RwInt32 originalHeight;
    RwInt32 originalStride;
};

// Only `filterAddressing` is touched; the fields before it (dictionary link, name, mask) are
// the engine's, kept as bytes so the offset is 0x50 in both builds.
struct RwTexture {
    RwRaster* raster;
    RwUInt8 engineFields[0x50 - sizeof(RwRaster*)];
    RwUInt32 filterAddressing;  // bits 0-7 filter mode, bits 8-31 addressing modes
    RwInt32 refCount;
};

static_assert(offsetof(RwTexture, filterAddressing) == 0x50, "filterAddressing sits at 0x50");
static_assert(sizeof(void*) != 4 || offsetof(RwRaster, stride) == 0x18, "SDK stride offset");

enum : RwInt32 {
    rwRASTERTYPETEXTURE = 0x04,
    rwRASTERFORMAT8888 = 0x0500,
    rwRASTERFORMATAUTOMIPMAP = 0x1000,
    rwRASTERFORMATMIPMAP = 0x8000,
};

enum : RwInt32 {
    rwRASTERLOCKWRITE = 0x01,
    rwRASTERLOCKREAD = 0x02,
};

enum : RwUInt32 {
    rwFILTERLINEAR = 2,
    rwFILTERLINEARMIPLINEAR = 6,
};

// Raster flags for a chain of one level and of two or more.
inline constexpr RwInt32 kRasterFlagsSingleLevel = rwRASTERTYPETEXTURE | rwRASTERFORMAT8888;
inline constexpr RwInt32 kRasterFlagsMipChain = kRasterFlagsSingleLevel | rwRASTERFORMATMIPMAP;
