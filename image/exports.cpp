#include "exports.h"

#include <string>

#include "../svg/svg_texture.h"
#include "folder_search.h"
#include "raster_decoder.h"

namespace {

// Callers pass a 32-bit boolean of which only the low byte counts.
LoadRequest MakeRequest(const char* filePath, uint32_t width, uint32_t height,
                        uint32_t useMipmaps, uint32_t maxMipLevels) {
    return {filePath, width, height, (useMipmaps & 0xFFu) != 0, maxMipLevels};
}

}  // namespace

extern "C" {

RwTexture* __cdecl LoadPNGToRwTexture(const char* filePath, uint32_t width, uint32_t height,
                                      uint32_t useMipmaps, uint32_t maxMipLevels) {
    return LoadPngTexture(MakeRequest(filePath, width, height, useMipmaps, maxMipLevels));
}

RwTexture* __cdecl LoadSVGToRwTexture(const char* filePath, uint32_t width, uint32_t height,
                                      uint32_t useMipmaps, uint32_t maxMipLevels) {
    return LoadSvgTexture(MakeRequest(filePath, width, height, useMipmaps, maxMipLevels));
}

RwTexture* __cdecl FindPNGinFolderPath(const char* folderPath, const char* fileName,
                                       uint32_t width, uint32_t height, uint32_t useMipmaps,
                                       uint32_t maxMipLevels) {
    std::string path = JoinFolderImagePath(folderPath, fileName, ".png");
    if (path.empty()) return nullptr;
    return LoadPNGToRwTexture(path.c_str(), width, height, useMipmaps, maxMipLevels);
}

RwTexture* __cdecl FindSVGinFolderPath(const char* folderPath, const char* fileName,
                                       uint32_t width, uint32_t height, uint32_t useMipmaps,
                                       uint32_t maxMipLevels) {
    std::string path = JoinFolderImagePath(folderPath, fileName, ".svg");
    if (path.empty()) return nullptr;
    return LoadSVGToRwTexture(path.c_str(), width, height, useMipmaps, maxMipLevels);
}
}
