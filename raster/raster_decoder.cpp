#include "raster_decoder.h"

#include <climits>

#include "../load/rw_bridge.h"
#include "../platform/platform.h"
#include "imaging_factory.h"
#include "wic_guids.h"
#include "wide_path.h"

namespace {

constexpr int kWidePathUnits = 260;

class WicLevelSource final : public TextureSource {
public:
    explicit WicLevelSource(const char* filePath) : filePath_(filePath) {}

    LoadStatus Open(uint32_t& width, uint32_t& height) override {
        WCHAR widePath[kWidePathUnits];
        if (!WidePathFromBytes(filePath_, widePath, kWidePathUnits)) return LoadStatus::PathNotConvertible;

        factory_ = SharedImagingFactoryOrCreate();
        if (!factory_) return LoadStatus::FactoryUnavailable;
        if (FAILED(factory_->CreateDecoderFromFilename(
                widePath, nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, decoder_.Put())) ||
            FAILED(decoder_->GetFrame(0, frame_.Put())))
            return LoadStatus::NotDecodable;
        UINT w = 0, h = 0;
        if (FAILED(frame_->GetSize(&w, &h))) return LoadStatus::NotDecodable;
        if (w == 0 || h == 0) return LoadStatus::ZeroSize;

        imageWidth_ = w;
        imageHeight_ = h;
        if (width == 0) width = w;
        if (height == 0) height = h;
        return LoadStatus::Drawn;
    }

    // The image is decoded and converted once, into a bitmap every level is read from: a
    // converter read by each level's scaler would decode the file again for every level.
    LoadStatus Prepare() override {
        const bool converted =
            SUCCEEDED(factory_->CreateFormatConverter(converter_.Put())) &&
            SUCCEEDED(converter_->Initialize(frame_.Get(), kWicPixelFormat32bppBGRA,
                                             WICBitmapDitherTypeNone, nullptr, 0.0,
                                             WICBitmapPaletteTypeCustom)) &&
            SUCCEEDED(factory_->CreateBitmapFromSource(converter_.Get(), WICBitmapCacheOnLoad,
                                                       converted_.Put()));
        return converted ? LoadStatus::Drawn : LoadStatus::NotDecodable;
    }

    LevelAccess FillLevel(RwRaster* raster, uint32_t level, uint32_t width,
                          uint32_t height) override {
        IWICBitmapSource* pixels = LevelPixels(level, width, height);
        if (!pixels) return LevelAccess::NotFilled;
        return WithLockedLevel(
            raster, level, width, height, rwRASTERLOCKWRITE,
            [&](const LockedLevel& locked) { return CopyLevel(pixels, locked); });
    }

private:
    // Level 0 at the image's own size is the converted image itself; every other level is
    // resampled from it, never from the previous level.
    IWICBitmapSource* LevelPixels(uint32_t level, uint32_t width, uint32_t height) {
        if (level == 0 && width == imageWidth_ && height == imageHeight_) return converted_.Get();
        scaler_.Reset();
        if (FAILED(factory_->CreateBitmapScaler(scaler_.Put())) ||
            FAILED(scaler_->Initialize(converted_.Get(), width, height,
                                       WICBitmapInterpolationModeFant)))
            return nullptr;
        return scaler_.Get();
    }

    // Pixels go straight into the locked level, a whole level in one call when rows are packed.
    static bool CopyLevel(IWICBitmapSource* source, const LockedLevel& level) {
        return MoveLevelRows(level, [&](RwUInt8* at, uint32_t firstRow, uint32_t rows) {
            const uint64_t rowBytes = RowBytes(level.width);
            const uint64_t bytes = rowBytes * rows;
            if (bytes > UINT_MAX) return false;  // a buffer size that wrapped would lie to WIC
            const WICRect rect{0, static_cast<INT>(firstRow), static_cast<INT>(level.width),
                               static_cast<INT>(rows)};
            return SUCCEEDED(source->CopyPixels(&rect, static_cast<UINT>(rowBytes),
                                                static_cast<UINT>(bytes), at));
        });
    }

    const char* filePath_;
    IWICImagingFactory* factory_ = nullptr;  // process-wide, not owned
    uint32_t imageWidth_ = 0;
    uint32_t imageHeight_ = 0;
    // Declared in creation order so they are released in reverse.
    ComPtr<IWICBitmapDecoder> decoder_;
    ComPtr<IWICBitmapFrameDecode> frame_;
    ComPtr<IWICFormatConverter> converter_;
    ComPtr<IWICBitmap> converted_;  // the converter's pixels, decoded once
    ComPtr<IWICBitmapScaler> scaler_;
};

}  // namespace

RwTexture* LoadPngTexture(const LoadRequest& request, LoadOutcome& outcome) {
    WicLevelSource source(request.filePath);
    return RunLoadRequest(request, source, outcome);
}
