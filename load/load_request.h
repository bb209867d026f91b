// The frame every load runs through: cache lookup, opening the source, raster, levels, cache write,
// texture. The raster and SVG loaders differ only in their TextureSource.
#pragma once

#include <cstdint>

#include "load_status.h"
#include "locked_level.h"
#include "rw_types.h"

struct LoadRequest {
    const char* filePath;   // 8-bit path of the image
    uint32_t width;         // level 0 width, 0 = the image's own
    uint32_t height;        // level 0 height, 0 = the image's own
    bool useMipmaps;        // build a chain rather than one level
    uint32_t maxMipLevels;  // cap on the chain, 0 = down to 1x1
};

// The request as the exports receive it: of `useMipmaps` only the low byte counts.
LoadRequest MakeLoadRequest(const char* filePath, uint32_t width, uint32_t height,
                            uint32_t useMipmaps, uint32_t maxMipLevels);

class TextureSource {
public:
    // On entry the requested size (0 = the image's own); on return the resolved size. Anything but
    // Drawn ends the request with null and that status.
    virtual LoadStatus Open(uint32_t& width, uint32_t& height) = 0;
    // Readies drawing after a cache miss; anything but Drawn ends the request with null.
    virtual LoadStatus Prepare() = 0;
    // Draws level `level` (width x height) into the raster; anything but Done leaves the chain
    // incomplete.
    virtual LevelAccess FillLevel(RwRaster* raster, uint32_t level, uint32_t width,
                                  uint32_t height) = 0;

protected:
    ~TextureSource() = default;
};

// The texture, or null; `outcome` says how the load ended either way.
RwTexture* RunLoadRequest(const LoadRequest& request, TextureSource& source, LoadOutcome& outcome);
