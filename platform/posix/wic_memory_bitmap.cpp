// The bitmap a source is copied into at once: its pixels are had when it is made, so a
// source that cannot give them (a file that does not decode) fails the creation itself.
#include "wic_objects.h"

namespace substitute {
namespace {

class MemoryBitmap final : public DerivedSourceObject<IWICBitmap> {
public:
    HRESULT CopyFrom(IWICBitmapSource* source) {
        HRESULT hr = Attach(source);
        if (FAILED(hr)) return hr;
        SharedPixels pixels;
        hr = SourcePixels(pixels);
        if (FAILED(hr)) return hr;
        // A decoder that gave up part way may have made fewer rows than the image claims.
        UINT width = 0, height = 0;
        hr = SourceSize(width, height);
        if (FAILED(hr)) return hr;
        return pixels->width == width && pixels->height == height ? S_OK : WINCODEC_ERR_BADIMAGE;
    }

    HRESULT SourceSize(UINT& width, UINT& height) override {
        return Source().SourceSize(width, height);
    }
    HRESULT SourceBytesPerPixel(UINT& bytesPerPixel) override {
        return Source().SourceBytesPerPixel(bytesPerPixel);
    }
    // The source's pixels never change once made, so holding them is holding a copy.
    HRESULT SourcePixels(SharedPixels& out) override {
        return KeptPixels(out, [](const SharedPixels& in) { return in; });
    }

private:
    bool Implements(REFIID iid) const override {
        return iid == IID_IWICBitmapSource || iid == IID_IWICBitmap;
    }
};

}  // namespace

HRESULT NewMemoryBitmap(IWICBitmapSource* source, IWICBitmap** out) {
    // Owned while it copies: a copy given up half-way (no memory left) takes the bitmap with it.
    auto bitmap = ComPtr<MemoryBitmap>::Adopt(new MemoryBitmap);
    HRESULT hr = bitmap->CopyFrom(source);
    if (FAILED(hr)) return hr;
    bitmap->AddRef();
    *out = bitmap.Get();
    return S_OK;
}

}  // namespace substitute
