// Finding the image library at run time: the strip does not link against it.
#pragma once

#include "../image/rw_types.h"
#include "../platform/platform.h"

// Every build looks for the same names in the same order, the Vice City build's first: first
// among the modules already loaded, then as files LoadLibraryA finds from the game's folder.
inline constexpr const char* kImageLibraryLoadedNames[] = {
    "Ombrix.VC.asi", "Ombrix.asi", "Ombrix.SA.asi", "Ombrix.III.asi", "Ombrix.VC.dll", "Ombrix.dll",
};
inline constexpr const char* kImageLibraryLoadableNames[] = {
    "scripts\\Ombrix.VC.asi", "scripts\\Ombrix.asi", "scripts\\Ombrix.SA.asi",
    "scripts\\Ombrix.III.asi", "Ombrix.VC.asi",     "Ombrix.asi",
    "Ombrix.SA.asi",          "Ombrix.III.asi",
};

// The library's module: the cached one, else the first already loaded under one of its file
// names, else the first that LoadLibraryA can load. Null when there is none; the next call
// then searches again. Never freed.
HMODULE BindImageLibrary();

// The library's folder-relative PNG loader, as it exports it.
using FindPngInFolderFn = RwTexture*(__cdecl*)(const char* folderPath, const char* fileName,
                                               uint32_t width, uint32_t height,
                                               uint32_t useMipmaps, uint32_t maxMipLevels);
inline constexpr const char* kFindPngExportName = "FindPNGinFolderPath";
