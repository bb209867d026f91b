// The format converter to 32bppBGRA with straight alpha, the one target this substitute knows.
// A source already in that layout is shared as it is; 24bppBGR gains an alpha of 255.
#include <mutex>

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

class FormatConverter final : public BitmapSourceObject<IWICFormatConverter> {
public:
    HRESULT STDMETHODCALLTYPE Initialize(IWICBitmapSource* source, REFWICPixelFormatGUID format,
                                         WICBitmapDitherType, IWICPalette*, double,
                                         WICBitmapPaletteType) override {
        if (ShouldFail(Call::ConverterInitialize)) return kInjectedWicFailure;
        if (source_) return WINCODEC_ERR_WRONGSTATE;
        if (!source) return E_INVALIDARG;
        if (format != GUID_WICPixelFormat32bppBGRA) return WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
        PixelSource* pixels = AsPixelSource(source);
        if (!pixels) return E_INVALIDARG;  // only sources of this substitute can be read
        UINT width, height;
        HRESULT hr = pixels->SourceSize(width, height);
        if (FAILED(hr)) return hr;
        source->AddRef();
        source_ = ComPtr<IWICBitmapSource>::Adopt(source);
        sourcePixels_ = pixels;
        return S_OK;
    }

    HRESULT SourceSize(UINT& width, UINT& height) override {
        if (!source_) return WINCODEC_ERR_WRONGSTATE;
        return sourcePixels_->SourceSize(width, height);
    }
    HRESULT SourceBytesPerPixel(UINT& bytesPerPixel) override {
        if (!source_) return WINCODEC_ERR_WRONGSTATE;
        bytesPerPixel = 4;
        return S_OK;
    }
    HRESULT SourcePixels(SharedPixels& out) override {
        if (!source_) return WINCODEC_ERR_WRONGSTATE;
        std::lock_guard<std::mutex> lock(mutex_);
        if (!converted_) {
            SharedPixels in;
            HRESULT hr = sourcePixels_->SourcePixels(in);
            if (FAILED(hr)) return hr;
            converted_ = in->bytesPerPixel == 4 ? in : ConvertBgrToBgra(*in);
            if (!converted_) return E_OUTOFMEMORY;
        }
        out = converted_;
        return S_OK;
    }

private:
    bool Implements(REFIID iid) const override {
        return iid == IID_IWICBitmapSource || iid == IID_IWICFormatConverter;
    }

    ComPtr<IWICBitmapSource> source_;     // null until initialised
    PixelSource* sourcePixels_ = nullptr;  // the same object, read without counted calls
    std::mutex mutex_;
    SharedPixels converted_;  // made on the first read, kept
};

}  // namespace

IWICFormatConverter* NewFormatConverter() { return new FormatConverter; }

}  // namespace substitute
