#include "load_request.h"

#include <string>

#include "mip_cache.h"
#include "mip_chain.h"
#include "rw_bridge.h"

namespace {

RwTexture* TryCache(const LoadRequest& request, uint32_t width, uint32_t height,
                    std::string& cachePath) {
    cachePath = MakeMipCachePath(request.filePath, width, height);
    return LoadMipCacheToRwTexture(request.filePath, cachePath.c_str(), width, height,
                                   request.useMipmaps, request.maxMipLevels);
}

}  // namespace

RwTexture* RunLoadRequest(const LoadRequest& request, TextureSource& source) {
    if (!request.filePath || !*request.filePath) return nullptr;

    std::string cachePath;
    // With both sizes known the cache can answer before the image is ever opened.
    if (request.width != 0 && request.height != 0)
        if (RwTexture* cached = TryCache(request, request.width, request.height, cachePath))
            return cached;

    uint32_t width = request.width;
    uint32_t height = request.height;
    if (!source.Open(width, height)) return nullptr;
    if (cachePath.empty())
        if (RwTexture* cached = TryCache(request, width, height, cachePath)) return cached;
    if (!source.Prepare()) return nullptr;

    MipChain chain = ComputeMipChain(width, height, request.useMipmaps, request.maxMipLevels);
    RwRaster* raster = RwRasterCreate(static_cast<RwInt32>(width), static_cast<RwInt32>(height),
                                      32, chain.rasterFlags);
    if (!raster) return nullptr;

    bool levelFailed = false;
    for (uint32_t i = 0; i < chain.levelCount && !levelFailed; ++i)
        levelFailed = !source.FillLevel(raster, i, MipLevelSize(width, i), MipLevelSize(height, i));
    if (!levelFailed)
        SaveRwRasterToMipCache(cachePath.c_str(), request.filePath, raster, width, height,
                               chain.levelCount, chain.rasterFlags);

    RwTexture* texture = RwTextureCreate(raster);
    if (!texture) {
        RwRasterDestroy(raster);
        return nullptr;
    }
    SetTextureFilterMode(texture, ChainFilterMode(chain.levelCount, levelFailed));
    return texture;
}
