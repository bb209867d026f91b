// The five RenderWare engine functions, reached at the fixed addresses of the game executable
// this build is made for. Nothing else in the library calls the engine.
#pragma once

#include "rw_types.h"

RwRaster* RwRasterCreate(RwInt32 width, RwInt32 height, RwInt32 depth, RwInt32 flags);
RwBool RwRasterDestroy(RwRaster* raster);
RwUInt8* RwRasterLock(RwRaster* raster, RwUInt32 level, RwInt32 lockMode);
RwRaster* RwRasterUnlock(RwRaster* raster);
RwTexture* RwTextureCreate(RwRaster* raster);

// Replaces bits 0-7 of filterAddressing and keeps the addressing modes above them.
void SetTextureFilterMode(RwTexture* texture, RwUInt32 filterMode);
