// The stand-in RenderWare engine: rasters with per-level storage and optional row padding,
// textures, a log of every call and failures on demand. Installed at a game's table addresses.
#pragma once

#include <cstdint>
#include <vector>

#include "../games/host_rw_functions.h"
#include "../load/rw_types.h"
#include "../platform/platform.h"

namespace sim {

// What a new texture's filterAddressing holds: a known pattern above the filter mode byte.
inline constexpr RwUInt32 kInitialFilterAddressing = 0xA5C31101;
// Rasters larger than this are refused, as a real engine out of video memory would.
inline constexpr uint64_t kMaxRasterBytes = 256ull << 20;

enum class RwOp { RasterCreate, RasterLock, RasterUnlock, RasterDestroy, TextureCreate, Count };

struct RwCall {
    RwOp op;
    RwRaster* raster;  // the raster the call was about (created one for RasterCreate)
    RwInt32 width;     // RasterCreate only
    RwInt32 height;
    RwInt32 depth;
    RwInt32 flags;
    RwUInt32 level;    // RasterLock only
    RwInt32 lockMode;  // RasterLock only
    bool failed;       // the call returned null
};

struct RwEngineSettings {
    uint32_t rowPadding = 0;  // bytes added to every row: stride = width * 4 + rowPadding
    // A faulty engine's lock: the stride it reports is a pixel shorter than a row (the level's
    // storage stays as large as ever, so a copy that trusted it would only garble the rows).
    bool strideShortOfARow = false;
};

// Writes jumps from the table's five addresses into the stand-in engine. Needs MapGameImage.
void InstallRwEngine(const games::HostRwFunctions& table);

// Clears log, failures and settings; destroys every live raster and texture.
void ResetRwEngine();
void ConfigureRwEngine(const RwEngineSettings& settings);

// The operation fails once after it has succeeded `successesFirst` more times.
void FailRwOp(RwOp op, int successesFirst = 0);

const std::vector<RwCall>& RwCallLog();
void ClearRwCallLog();
int CountRwCalls(RwOp op);

int LiveRasters();
int LiveTextures();

// Level facts and pixels of a raster, rows packed without the padding.
uint32_t RasterLevelCount(const RwRaster* raster);
uint32_t RasterLevelWidth(const RwRaster* raster, uint32_t level);
uint32_t RasterLevelHeight(const RwRaster* raster, uint32_t level);
RwInt32 RasterFlags(const RwRaster* raster);
std::vector<uint8_t> RasterLevelPixels(const RwRaster* raster, uint32_t level);
// True while no byte between rows was ever changed.
bool RasterPaddingIntact(const RwRaster* raster);

// 1-based order of the live texture's RwTextureCreate since the last ResetRwEngine, 0 for
// null or a texture not alive: names a texture alike in every process that loads the same.
uint32_t TextureCreationIndex(const RwTexture* texture);

// The game's RwTextureDestroy: frees the texture and its raster.
void DestroyTexture(RwTexture* texture);

// The stand-in routines themselves, cdecl as the engine's.
RwRaster* __cdecl SimRwRasterCreate(RwInt32 width, RwInt32 height, RwInt32 depth, RwInt32 flags);
RwBool __cdecl SimRwRasterDestroy(RwRaster* raster);
RwUInt8* __cdecl SimRwRasterLock(RwRaster* raster, RwUInt32 level, RwInt32 lockMode);
RwRaster* __cdecl SimRwRasterUnlock(RwRaster* raster);
RwTexture* __cdecl SimRwTextureCreate(RwRaster* raster);

}  // namespace sim
