// Finding the image library at run time: the strip does not link against it.
#pragma once

#include "../load/rw_types.h"
#include "../platform/platform.h"

// The library's module: the cached one, else the first already loaded under one of its file
// names, else the first that LoadLibraryA can load. Null when there is none; the next call
// then searches again. Never freed.
HMODULE BindImageLibrary();

// The library's folder-relative PNG loader, as it exports it.
using FindPngInFolderFn = RwTexture*(__cdecl*)(const char* folderPath, const char* fileName,
                                               uint32_t width, uint32_t height,
                                               uint32_t useMipmaps, uint32_t maxMipLevels);
inline constexpr const char* kFindPngExportName = "FindPNGinFolderPath";
