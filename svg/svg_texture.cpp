#include "svg_texture.h"

#include <string>
#include <vector>

#include "blur_filters.h"
#include "paint_order.h"
#include "svg_device.h"
#include "svg_document_load.h"
#include "svg_file.h"
#include "svg_level_renderer.h"
#include "svg_source.h"

namespace {

class SvgLevelSource final : public TextureSource {
public:
    explicit SvgLevelSource(const char* filePath) : filePath_(filePath) {}

    LoadStatus Open(uint32_t& width, uint32_t& height) override {
        svgText_ = ReadSvgText(filePath_);
        if (svgText_.empty()) return LoadStatus::Unreadable;
        // A side the caller gave stands as it is; only a missing one comes from the root tag.
        if (width == 0 || height == 0) {
            uint32_t rootWidth = 0, rootHeight = 0;
            ParseSvgRootSize(svgText_, rootWidth, rootHeight);
            if (width == 0) width = rootWidth;
            if (height == 0) height = rootHeight;
        }
        width_ = width;
        height_ = height;
        return width != 0 && height != 0 ? LoadStatus::Drawn : LoadStatus::ZeroSize;
    }

    LoadStatus Prepare() override {
        // Blur extraction must see the ids paint-order emulation gave the stroke copies.
        EmulatePaintOrder(svgText_);
        const std::vector<BlurTarget> targets = ExtractBlurFilters(svgText_);
        if (!CreateSvgDevice(device_)) return LoadStatus::DeviceUnavailable;
        if (!LoadSvgDocument(device_.context.Get(), svgText_, width_, height_, document_))
            return LoadStatus::NotDecodable;
        blurs_ = ResolveElementBlurs(document_.document.Get(), targets);
        return LoadStatus::Drawn;
    }

    LevelAccess FillLevel(RwRaster* raster, uint32_t level, uint32_t width,
                          uint32_t height) override {
        const SvgLevel svgLevel{level, width, height,
                                static_cast<float>(width) / static_cast<float>(width_),
                                static_cast<float>(height) / static_cast<float>(height_)};
        return RenderSvgLevel(device_.device.Get(), device_.immediateContext.Get(),
                              device_.context.Get(), document_.document.Get(), document_.root.Get(),
                              blurs_, svgLevel, raster);
    }

private:
    const char* filePath_;
    std::string svgText_;
    uint32_t width_ = 0;  // level-0 size
    uint32_t height_ = 0;
    // Declared in creation order, so they are released in reverse.
    SvgDevice device_;
    LoadedSvgDocument document_;
    std::vector<ElementBlur> blurs_;
};

}  // namespace

RwTexture* LoadSvgTexture(const LoadRequest& request, LoadOutcome& outcome) {
    SvgLevelSource source(request.filePath);
    return RunLoadRequest(request, source, outcome);
}
