// Entry addresses of the five RenderWare functions the image library calls, per game executable.
#pragma once

#include <cstdint>

namespace games {

struct HostRwFunctions {
    uint32_t rasterCreate;   // RwRasterCreate(width, height, depth, flags) -> raster
    uint32_t rasterDestroy;  // RwRasterDestroy(raster) -> RwBool
    uint32_t rasterLock;     // RwRasterLock(raster, level, lockMode) -> pixels
    uint32_t rasterUnlock;   // RwRasterUnlock(raster) -> raster
    uint32_t textureCreate;  // RwTextureCreate(raster) -> texture
};

}  // namespace games
