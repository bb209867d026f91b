#include "rw_bridge.h"

#include <cstdint>

#include "../games/selected_game.h"
#include "../platform/platform.h"

namespace {

using RasterCreateFn = RwRaster*(__cdecl*)(RwInt32, RwInt32, RwInt32, RwInt32);
using RasterDestroyFn = RwBool(__cdecl*)(RwRaster*);
using RasterLockFn = RwUInt8*(__cdecl*)(RwRaster*, RwUInt32, RwInt32);
using RasterUnlockFn = RwRaster*(__cdecl*)(RwRaster*);
using TextureCreateFn = RwTexture*(__cdecl*)(RwRaster*);

// The game's own entry points: fixed addresses of its executable, used as they stand.
template <class Fn>
Fn Entry(uint32_t address) {
    return reinterpret_cast<Fn>(static_cast<uintptr_t>(address));
}

constexpr const games::HostRwFunctions& kTable = selected_game::kRwFunctions;

}  // namespace

RwRaster* RwRasterCreate(RwInt32 width, RwInt32 height, RwInt32 depth, RwInt32 flags) {
    return Entry<RasterCreateFn>(kTable.rasterCreate)(width, height, depth, flags);
}

RwBool RwRasterDestroy(RwRaster* raster) {
    return Entry<RasterDestroyFn>(kTable.rasterDestroy)(raster);
}

RwUInt8* RwRasterLock(RwRaster* raster, RwUInt32 level, RwInt32 lockMode) {
    return Entry<RasterLockFn>(kTable.rasterLock)(raster, level, lockMode);
}

RwRaster* RwRasterUnlock(RwRaster* raster) {
    return Entry<RasterUnlockFn>(kTable.rasterUnlock)(raster);
}

RwTexture* RwTextureCreate(RwRaster* raster) {
    return Entry<TextureCreateFn>(kTable.textureCreate)(raster);
}

void SetTextureFilterMode(RwTexture* texture, RwUInt32 filterMode) {
    texture->filterAddressing = (texture->filterAddressing & ~0xFFu) | (filterMode & 0xFFu);
}
