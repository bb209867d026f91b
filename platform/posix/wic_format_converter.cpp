// The format converter to 32bppBGRA with straight alpha, the one target this substitute knows.
// A source already in that layout is shared as it is; 24bppBGR gains an alpha of 255.
#include "wic_objects.h"

namespace substitute {
namespace {

SharedPixels ConvertBgrToBgra(const PixelImage& bgr) {
    BYTE* out = nullptr;
    std::shared_ptr<PixelImage> bgra = AllocatePixelImage(bgr.width, bgr.height, 4, &out);
    if (!bgra) return nullptr;
    for (UINT y = 0; y < bgr.height; ++y) {
        const BYTE* in = bgr.pixels + y * bgr.stride;
        for (UINT x = 0; x < bgr.width; ++x, in += 3, out += 4) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = 255;
        }
    }
    return bgra;
}

class FormatConverter final : public DerivedSourceObject<IWICFormatConverter> {
public:
    HRESULT STDMETHODCALLTYPE Initialize(IWICBitmapSource* source, REFWICPixelFormatGUID format,
                                         WICBitmapDitherType, IWICPalette*, double,
                                         WICBitmapPaletteType) override {
        if (ShouldFail(Call::ConverterInitialize)) return kInjectedWicFailure;
        if (IsInitialised()) return WINCODEC_ERR_WRONGSTATE;
        if (!source) return E_INVALIDARG;
        if (format != GUID_WICPixelFormat32bppBGRA) return WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
        return Attach(source);
    }

    HRESULT SourceSize(UINT& width, UINT& height) override {
        if (!IsInitialised()) return WINCODEC_ERR_WRONGSTATE;
        return Source().SourceSize(width, height);
    }
    HRESULT SourceBytesPerPixel(UINT& bytesPerPixel) override {
        if (!IsInitialised()) return WINCODEC_ERR_WRONGSTATE;
        bytesPerPixel = 4;
        return S_OK;
    }
    HRESULT SourcePixels(SharedPixels& out) override {
        return KeptPixels(out, [](const SharedPixels& in) {
            return in->bytesPerPixel == 4 ? in : ConvertBgrToBgra(*in);
        });
    }

private:
    bool Implements(REFIID iid) const override {
        return iid == IID_IWICBitmapSource || iid == IID_IWICFormatConverter;
    }
};

}  // namespace

IWICFormatConverter* NewFormatConverter() { return new FormatConverter; }

}  // namespace substitute
