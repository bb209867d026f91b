#include "station_icons.h"

#include <cstring>

#include "../host/host_directory.h"
#include "../platform/platform.h"
#include "host_accessors.h"
#include "icon_sprites.h"
#include "image_library_binding.h"

namespace {

// The folder is handed to the library from a buffer of this size, terminator included.
constexpr size_t kIconFolderBufferSize = 260;

FindPngInFolderFn findPng = nullptr;  // the library's loader once looked up

[[noreturn]] void StopForMissingLibrary() {
    MessageBoxA(nullptr, kMissingLibraryText, kMissingLibraryCaption, MB_ICONERROR);
    ExitProcess(1);
}

// The library's loader, looked up again while the library lacks it; null then.
FindPngInFolderFn FindPngLoader() {
    if (findPng) return findPng;
    HMODULE library = BindImageLibrary();
    if (!library) StopForMissingLibrary();
    // Through the one function type every other one converts to without a warning.
    findPng = reinterpret_cast<FindPngInFolderFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, kFindPngExportName)));
    return findPng;
}

}  // namespace

void LoadStationIcons() {
    if (!BindImageLibrary()) StopForMissingLibrary();
    char folder[kIconFolderBufferSize];
    const char* joined = HostFilePath(kIconFolderRelativePath);
    const size_t length = std::strlen(joined);
    if (length == 0 || length >= sizeof folder) return;  // a cut folder would load strangers
    std::memcpy(folder, joined, length + 1);

    for (size_t slot = 0; slot < kIconSlotCount; ++slot) {
        const FindPngInFolderFn load = FindPngLoader();
        RwTexture* texture =
            load ? load(folder, selected_game::kStationIconTable[slot], 0, 0, 1, 0) : nullptr;
        if (texture)
            texture->filterAddressing =
                (texture->filterAddressing & ~RwUInt32{0xFF}) | rwFILTERLINEARMIPLINEAR;
        IconSprites[slot].texture = texture;
    }
}

void ReleaseStationIcons() {
    for (HostSprite& sprite : IconSprites)
        if (sprite.texture) {
            RwTextureDestroy(sprite.texture);
            sprite.texture = nullptr;
        }
}
