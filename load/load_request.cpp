#include "load_request.h"

#include <string>

#include "level_size.h"
#include "mip_cache.h"
#include "mip_chain.h"
#include "owned_raster.h"
#include "rw_bridge.h"

namespace {

// Where every texture is made, from a cached chain or a drawn one; a refused texture takes its
// raster with it.
RwTexture* FinishTexture(OwnedRaster& raster, RwUInt32 filterMode) {
    RwTexture* texture = RwTextureCreate(raster.Get());
    if (!texture) return nullptr;  // the owner destroys the raster
    raster.Release();
    SetTextureFilterMode(texture, filterMode);
    return texture;
}

// A missing source never uses its cache file, but the cache folder is made all the same.
RwTexture* TryCache(const LoadRequest& request, const SourceAttributes* source, uint32_t width,
                    uint32_t height, std::string& cachePath, LoadOutcome& outcome) {
    cachePath = MakeMipCachePath(request.filePath, width, height);
    if (!source) {
        outcome.cache = MipCacheVerdict::NoSource;
        return nullptr;
    }
    OwnedRaster raster(LoadMipCacheToRwRaster(*source, cachePath.c_str(), width, height,
                                              request.useMipmaps, request.maxMipLevels,
                                              outcome.cache));
    if (!raster.Get()) return nullptr;
    const MipChain chain = ComputeMipChain(width, height, request.useMipmaps, request.maxMipLevels);
    RwTexture* texture = FinishTexture(raster, ChainFilterMode(chain.levelCount, false));
    // A refused texture is a miss like any other: the source is drawn instead.
    outcome.cache = texture ? MipCacheVerdict::Valid : MipCacheVerdict::TextureRefused;
    if (texture) outcome.status = LoadStatus::ServedFromCache;
    return texture;
}

RwTexture* Fail(LoadOutcome& outcome, LoadStatus status) {
    outcome.status = status;
    return nullptr;
}

}  // namespace

LoadRequest MakeLoadRequest(const char* filePath, uint32_t width, uint32_t height,
                            uint32_t useMipmaps, uint32_t maxMipLevels) {
    return {filePath, width, height, (useMipmaps & 0xFFu) != 0, maxMipLevels};
}

RwTexture* RunLoadRequest(const LoadRequest& request, TextureSource& source, LoadOutcome& outcome) {
    outcome = LoadOutcome{};
    if (!request.filePath || !*request.filePath) return Fail(outcome, LoadStatus::NoPath);
    if (!WithinTextureLimit(request.width, request.height))
        return Fail(outcome, LoadStatus::TooLarge);

    // Read before the source is opened, so a source rewritten while it is drawn leaves a cache file
    // that no longer matches it.
    SourceAttributes attributes{};
    const SourceAttributes* known =
        ReadSourceAttributes(request.filePath, attributes) ? &attributes : nullptr;

    std::string cachePath;
    // With both sizes known the cache can answer before the image is ever opened.
    if (request.width != 0 && request.height != 0)
        if (RwTexture* cached =
                TryCache(request, known, request.width, request.height, cachePath, outcome))
            return cached;

    uint32_t width = request.width;
    uint32_t height = request.height;
    const LoadStatus opened = source.Open(width, height);
    if (opened != LoadStatus::Drawn)
        return Fail(outcome, !known && opened != LoadStatus::PathNotConvertible
                                 ? LoadStatus::NoSuchFile
                                 : opened);
    // The image's own size, or the document's, is only known now; nothing of its size exists yet.
    if (!WithinTextureLimit(width, height)) return Fail(outcome, LoadStatus::TooLarge);
    if (cachePath.empty())
        if (RwTexture* cached = TryCache(request, known, width, height, cachePath, outcome))
            return cached;
    const LoadStatus prepared = source.Prepare();
    if (prepared != LoadStatus::Drawn) return Fail(outcome, prepared);

    const MipChain chain = ComputeMipChain(width, height, request.useMipmaps, request.maxMipLevels);
    OwnedRaster raster(RwRasterCreate(static_cast<RwInt32>(width), static_cast<RwInt32>(height),
                                      32, chain.rasterFlags));
    if (!raster.Get()) return Fail(outcome, LoadStatus::RasterRefused);

    LevelAccess access = LevelAccess::Done;
    uint32_t level = 0;
    for (; level < chain.levelCount; ++level) {
        access = source.FillLevel(raster.Get(), level, MipLevelSize(width, level),
                                  MipLevelSize(height, level));
        if (access != LevelAccess::Done) break;
    }
    const bool complete = access == LevelAccess::Done;
    if (complete && known)
        outcome.cacheWritten = SaveRwRasterToMipCache(cachePath.c_str(), *known, raster.Get(), width,
                                                      height, chain.levelCount, chain.rasterFlags);

    RwTexture* texture = FinishTexture(raster, ChainFilterMode(chain.levelCount, !complete));
    if (!texture) return Fail(outcome, LoadStatus::TextureRefused);
    if (!complete) {
        outcome.status = access == LevelAccess::NotLocked ? LoadStatus::LevelNotLocked
                                                          : LoadStatus::LevelNotFilled;
        outcome.level = level;
    }
    return texture;
}
