#include "exports.h"

#include <string>

#include "../raster/raster_decoder.h"
#include "../svg/svg_texture.h"
#include "folder_search.h"

namespace {

// The exports hand out the texture alone; why a load ended is for tools and tests.
template <class Loader>
RwTexture* LoadWith(Loader loader, const char* filePath, uint32_t width, uint32_t height,
                    uint32_t useMipmaps, uint32_t maxMipLevels) {
    LoadOutcome outcome;
    return loader(MakeLoadRequest(filePath, width, height, useMipmaps, maxMipLevels), outcome);
}

}  // namespace

extern "C" {

RwTexture* __cdecl LoadPNGToRwTexture(const char* filePath, uint32_t width, uint32_t height,
                                      uint32_t useMipmaps, uint32_t maxMipLevels) {
    return LoadWith(LoadPngTexture, filePath, width, height, useMipmaps, maxMipLevels);
}

RwTexture* __cdecl LoadSVGToRwTexture(const char* filePath, uint32_t width, uint32_t height,
                                      uint32_t useMipmaps, uint32_t maxMipLevels) {
    return LoadWith(LoadSvgTexture, filePath, width, height, useMipmaps, maxMipLevels);
}

RwTexture* __cdecl FindPNGinFolderPath(const char* folderPath, const char* fileName, uint32_t width,
                                       uint32_t height, uint32_t useMipmaps,
                                       uint32_t maxMipLevels) {
    std::string path = JoinFolderImagePath(folderPath, fileName, ".png");
    if (path.empty()) return nullptr;
    return LoadPNGToRwTexture(path.c_str(), width, height, useMipmaps, maxMipLevels);
}

RwTexture* __cdecl FindSVGinFolderPath(const char* folderPath, const char* fileName, uint32_t width,
                                       uint32_t height, uint32_t useMipmaps,
                                       uint32_t maxMipLevels) {
    std::string path = JoinFolderImagePath(folderPath, fileName, ".svg");
    if (path.empty()) return nullptr;
    return LoadSVGToRwTexture(path.c_str(), width, height, useMipmaps, maxMipLevels);
}
}
