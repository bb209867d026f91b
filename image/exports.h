// The library's whole public surface: four undecorated cdecl functions.
#pragma once

#include <cstdint>

#include "../platform/platform.h"
#include "../load/rw_types.h"

extern "C" {

RwTexture* __cdecl LoadPNGToRwTexture(const char* filePath, uint32_t width, uint32_t height,
                                      uint32_t useMipmaps, uint32_t maxMipLevels);
RwTexture* __cdecl LoadSVGToRwTexture(const char* filePath, uint32_t width, uint32_t height,
                                      uint32_t useMipmaps, uint32_t maxMipLevels);
RwTexture* __cdecl FindPNGinFolderPath(const char* folderPath, const char* fileName,
                                       uint32_t width, uint32_t height, uint32_t useMipmaps,
                                       uint32_t maxMipLevels);
RwTexture* __cdecl FindSVGinFolderPath(const char* folderPath, const char* fileName,
                                       uint32_t width, uint32_t height, uint32_t useMipmaps,
                                       uint32_t maxMipLevels);
}
