// Arbitrary bytes as the cache file of an existing source image, looked up at a few requested
// sizes with and without mipmaps. Half the inputs get the source's real write time and size
// spliced into the header, so the reader gets past the staleness check to the levels.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "load/mip_cache.h"
#include "load/rw_bridge.h"
#include "platform/platform.h"
#include "sim/png_writer.h"
#include "sim/rw_engine.h"

namespace {

std::string source;
SourceAttributes sourceAttributes;

struct Request {
    uint32_t width, height, maxMipLevels;
    bool useMipmaps;
};
constexpr Request kRequests[] = {{8, 8, 0, true}, {8, 8, 0, false}, {16, 4, 0, true}, {3, 5, 2, true}};

std::vector<uint8_t> WithSourceFacts(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    if (size >= 24 && (data[0] & 1)) {
        const uint32_t facts[] = {sourceAttributes.lastWrite.dwLowDateTime,
                                  sourceAttributes.lastWrite.dwHighDateTime, sourceAttributes.sizeLow,
                                  sourceAttributes.sizeHigh};
        std::memcpy(bytes.data() + 8, facts, sizeof facts);  // little-endian host
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::InstallEngine();
    source = fuzz::ScratchFolder() + "/icon.png";
    fuzz::Require(sim::WritePngFromBgra(source, 8, 8, std::vector<uint8_t>(8 * 8 * 4, 0x7F)));
    fuzz::Require(ReadSourceAttributes(source.c_str(), sourceAttributes));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes = WithSourceFacts(data, size);
    for (const Request& r : kRequests) {
        const std::string cachePath = MakeMipCachePath(source.c_str(), r.width, r.height);
        fuzz::WriteInput(cachePath, bytes.data(), bytes.size());
        MipCacheVerdict verdict = MipCacheVerdict::NotLookedUp;
        RwRaster* raster = LoadMipCacheToRwRaster(sourceAttributes, cachePath.c_str(), r.width, r.height,
                                                  r.useMipmaps, r.maxMipLevels, verdict);
        fuzz::Require((raster != nullptr) == (verdict == MipCacheVerdict::Valid));
        if (raster) {
            fuzz::Require(sim::RasterLevelWidth(raster, 0) == r.width &&
                          sim::RasterLevelHeight(raster, 0) == r.height);
            fuzz::Require(r.useMipmaps || sim::RasterLevelCount(raster) == 1);
            fuzz::Require(sim::RasterPaddingIntact(raster));
            RwRasterDestroy(raster);
        }
        fuzz::RequireNothingLive(0);
    }
    return 0;
}
