#include "raster_decoder.h"

#include "../platform/platform.h"
#include "imaging_factory.h"
#include "rw_bridge.h"
#include "wic_guids.h"

namespace {

constexpr int kWidePathUnits = 260;

class WicLevelSource final : public TextureSource {
public:
    explicit WicLevelSource(const char* filePath) : filePath_(filePath) {}

    bool Open(uint32_t& width, uint32_t& height) override {
        WCHAR widePath[kWidePathUnits];
        if (MultiByteToWideChar(CP_UTF8, 0, filePath_, -1, widePath, kWidePathUnits) == 0 &&
            MultiByteToWideChar(CP_ACP, 0, filePath_, -1, widePath, kWidePathUnits) == 0)
            return false;

        factory_ = SharedImagingFactoryOrCreate();
        if (!factory_) return false;
        if (FAILED(factory_->CreateDecoderFromFilename(widePath, nullptr, GENERIC_READ,
                                                       WICDecodeMetadataCacheOnDemand,
                                                       decoder_.Put())))
            return false;
        if (FAILED(decoder_->GetFrame(0, frame_.Put()))) return false;
        UINT w = 0, h = 0;
        if (FAILED(frame_->GetSize(&w, &h)) || w == 0 || h == 0) return false;

        imageWidth_ = w;
        imageHeight_ = h;
        if (width == 0) width = w;
        if (height == 0) height = h;
        return true;
    }

    bool Prepare() override {
        return SUCCEEDED(factory_->CreateFormatConverter(converter_.Put())) &&
               SUCCEEDED(converter_->Initialize(frame_.Get(), kWicPixelFormat32bppBGRA,
                                                WICBitmapDitherTypeNone, nullptr, 0.0,
                                                WICBitmapPaletteTypeCustom));
    }

    bool FillLevel(RwRaster* raster, uint32_t level, uint32_t width, uint32_t height) override {
        IWICBitmapSource* pixels = LevelPixels(level, width, height);
        if (!pixels) return false;
        RwUInt8* locked = RwRasterLock(raster, level, rwRASTERLOCKWRITE);
        if (!locked) return false;
        bool copied = CopyLevel(pixels, locked, static_cast<UINT>(raster->stride), width, height);
        RwRasterUnlock(raster);
        return copied;
    }

private:
    // Level 0 at the image's own size is the converted image itself; every other level is
    // resampled from it, never from the previous level.
    IWICBitmapSource* LevelPixels(uint32_t level, uint32_t width, uint32_t height) {
        if (level == 0 && width == imageWidth_ && height == imageHeight_) return converter_.Get();
        scaler_.Reset();
        if (FAILED(factory_->CreateBitmapScaler(scaler_.Put())) ||
            FAILED(scaler_->Initialize(converter_.Get(), width, height,
                                       WICBitmapInterpolationModeFant)))
            return nullptr;
        return scaler_.Get();
    }

    // Pixels go straight into the locked level: in one call when rows are packed.
    static bool CopyLevel(IWICBitmapSource* source, RwUInt8* locked, UINT stride, uint32_t width,
                          uint32_t height) {
        const UINT rowBytes = width * 4;
        if (stride == rowBytes) {
            WICRect all{0, 0, static_cast<INT>(width), static_cast<INT>(height)};
            return SUCCEEDED(source->CopyPixels(&all, stride, stride * height, locked));
        }
        for (uint32_t r = 0; r < height; ++r) {
            WICRect row{0, static_cast<INT>(r), static_cast<INT>(width), 1};
            if (FAILED(source->CopyPixels(&row, rowBytes, rowBytes,
                                          locked + static_cast<size_t>(r) * stride)))
                return false;
        }
        return true;
    }

    const char* filePath_;
    IWICImagingFactory* factory_ = nullptr;  // process-wide, not owned
    uint32_t imageWidth_ = 0;
    uint32_t imageHeight_ = 0;
    // Declared in creation order so they are released in reverse.
    ComPtr<IWICBitmapDecoder> decoder_;
    ComPtr<IWICBitmapFrameDecode> frame_;
    ComPtr<IWICFormatConverter> converter_;
    ComPtr<IWICBitmapScaler> scaler_;
};

}  // namespace

RwTexture* LoadPngTexture(const LoadRequest& request) {
    WicLevelSource source(request.filePath);
    return RunLoadRequest(request, source);
}
