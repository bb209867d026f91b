#include "exports.h"

#include <string>

#include "../raster/raster_decoder.h"
#include "../svg/svg_texture.h"
#include "folder_search.h"

namespace {

// The exports hand out the texture alone; why a load ended is for tools and tests. Nothing may
// unwind into the caller: its frames are the game's, which the unwinder cannot pass, and a
// crowded 32-bit address space makes a failed allocation a real outcome. The load frame owns
// every raster and COM reference it holds, so a load given up here leaves nothing behind.
template <class Load>
RwTexture* NullOnException(Load load) noexcept {
    try {
        return load();
    } catch (...) {
        return nullptr;
    }
}

template <class Loader>
RwTexture* LoadWith(Loader loader, const char* filePath, uint32_t width, uint32_t height,
                    uint32_t useMipmaps, uint32_t maxMipLevels) {
    LoadOutcome outcome;
    return loader(MakeLoadRequest(filePath, width, height, useMipmaps, maxMipLevels), outcome);
}

template <class Loader>
RwTexture* LoadFromFolder(Loader loader, const char* folderPath, const char* fileName,
                          const char* extension, uint32_t width, uint32_t height,
                          uint32_t useMipmaps, uint32_t maxMipLevels) {
    const std::string path = JoinFolderImagePath(folderPath, fileName, extension);
    if (path.empty()) return nullptr;
    return LoadWith(loader, path.c_str(), width, height, useMipmaps, maxMipLevels);
}

}  // namespace

extern "C" {

RwTexture* __cdecl LoadPNGToRwTexture(const char* filePath, uint32_t width, uint32_t height,
                                      uint32_t useMipmaps, uint32_t maxMipLevels) {
    return NullOnException([&] {
        return LoadWith(LoadPngTexture, filePath, width, height, useMipmaps, maxMipLevels);
    });
}

RwTexture* __cdecl LoadSVGToRwTexture(const char* filePath, uint32_t width, uint32_t height,
                                      uint32_t useMipmaps, uint32_t maxMipLevels) {
    return NullOnException([&] {
        return LoadWith(LoadSvgTexture, filePath, width, height, useMipmaps, maxMipLevels);
    });
}

RwTexture* __cdecl FindPNGinFolderPath(const char* folderPath, const char* fileName, uint32_t width,
                                       uint32_t height, uint32_t useMipmaps,
                                       uint32_t maxMipLevels) {
    return NullOnException([&] {
        return LoadFromFolder(LoadPngTexture, folderPath, fileName, ".png", width, height,
                              useMipmaps, maxMipLevels);
    });
}

RwTexture* __cdecl FindSVGinFolderPath(const char* folderPath, const char* fileName, uint32_t width,
                                       uint32_t height, uint32_t useMipmaps,
                                       uint32_t maxMipLevels) {
    return NullOnException([&] {
        return LoadFromFolder(LoadSvgTexture, folderPath, fileName, ".svg", width, height,
                              useMipmaps, maxMipLevels);
    });
}
}
