// Arbitrary bytes as an SVG file through LoadSVGToRwTexture: the pre-pass and the renderer
// together. Requested at 32x32 with a full chain, and at the file's own size when that is
// small, so one input stays well under a second.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "image/exports.h"
#include "platform/posix/substitute.h"
#include "sim/rw_engine.h"
#include "svg/svg_source.h"

namespace {

constexpr uint32_t kLargestOwnSide = 128;
std::string imagePath;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::InstallEngine();
    imagePath = fuzz::ScratchFolder() + "/image.svg";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::WriteUncachedSource(imagePath, data, size);

    RwTexture* chain = LoadSVGToRwTexture(imagePath.c_str(), 32, 32, 1, 0);
    if (chain) {
        fuzz::Require(sim::RasterLevelCount(chain->raster) == 6);
        fuzz::Require(sim::RasterPaddingIntact(chain->raster));
    }
    fuzz::DestroyTexture(chain);

    uint32_t width = 0, height = 0;
    ParseSvgRootSize(std::string(reinterpret_cast<const char*>(data), size), width, height);
    if (width <= kLargestOwnSide && height <= kLargestOwnSide)
        fuzz::DestroyTexture(LoadSVGToRwTexture(imagePath.c_str(), 0, 0, 0, 0));
    fuzz::RequireNothingLive(0);
    return 0;
}
