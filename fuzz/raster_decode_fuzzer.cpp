// Arbitrary bytes as an image file through LoadPNGToRwTexture: at the image's own size with
// one level, and at a requested size with a full chain (a cache miss each time).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "image/exports.h"
#include "platform/posix/substitute.h"
#include "sim/png_writer.h"
#include "sim/rw_engine.h"

namespace {

std::string imagePath;
long comBaseline = 0;

void RequireChain(RwTexture* texture, uint32_t width, uint32_t height, uint32_t levels) {
    if (!texture) return;
    const RwRaster* raster = texture->raster;
    fuzz::Require(width == 0 || (sim::RasterLevelWidth(raster, 0) == width &&
                                 sim::RasterLevelHeight(raster, 0) == height));
    fuzz::Require(sim::RasterLevelCount(raster) == levels);
    fuzz::Require(sim::RasterPaddingIntact(raster));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::InstallEngine();
    // A fuzzed header claims any size up to the platform's limit, and decoding a gigabyte for
    // each such input would hold the run to a few dozen inputs a second. The library takes
    // the same path whether the platform refuses an image at 16384 pixels a side or at 1024.
    substitute::LimitImageSide(1024);
    imagePath = fuzz::ScratchFolder() + "/image.png";
    // The imaging factory lives as long as the process: made here, before the baseline.
    fuzz::Require(sim::WritePngFromBgra(imagePath, 4, 4, std::vector<uint8_t>(64, 0x40)));
    fuzz::DestroyTexture(LoadPNGToRwTexture(imagePath.c_str(), 0, 0, 0, 0));
    comBaseline = substitute::LiveComObjects();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::WriteUncachedSource(imagePath, data, size);

    RwTexture* own = LoadPNGToRwTexture(imagePath.c_str(), 0, 0, 0, 0);
    RequireChain(own, 0, 0, 1);
    fuzz::DestroyTexture(own);
    RwTexture* chain = LoadPNGToRwTexture(imagePath.c_str(), 24, 10, 1, 0);
    RequireChain(chain, 24, 10, 5);
    fuzz::DestroyTexture(chain);
    fuzz::RequireNothingLive(comBaseline);
    return 0;
}
