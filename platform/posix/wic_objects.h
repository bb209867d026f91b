// What the substitute's WIC objects share: decoded pixels, the way one object reads another's
// pixels, the CopyPixels every source answers with the same checks, and their constructors.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "../com_ptr.h"
#include "com_object.h"
#include "substitute.h"
#include "wic.h"

namespace substitute {

// What an injected failure of a WIC call returns.
constexpr HRESULT kInjectedWicFailure = E_FAIL;

// The largest image decoded or scaled; larger ones are refused before any pixel memory is taken.
constexpr UINT kMaxImageSide = 16384;
constexpr uint64_t kMaxImagePixels = uint64_t(1) << 28;
bool WithinImageLimits(UINT width, UINT height);

// Pixels in one of the two layouts this substitute knows: 24bppBGR (B, G, R) or 32bppBGRA
// (B, G, R, A with straight alpha). Never changed once made, so objects share them.
struct PixelImage {
    UINT width = 0;
    UINT height = 0;
    UINT bytesPerPixel = 4;         // 3 or 4
    size_t stride = 0;              // bytes from the start of one row to the next
    const BYTE* pixels = nullptr;   // the first row
    std::shared_ptr<void> storage;  // owns the bytes: a decoded GdkPixbuf or an allocated block
    // Not part of the image: the block sums the last whole-factor scaler reading it made, kept
    // so that the next level of a chain sums those instead of every pixel again.
    mutable std::mutex blockSumsMutex;
    mutable std::shared_ptr<const struct BlockSums> blockSums;
};

// Each channel summed over the blocks of `factorX` x `factorY` pixels that tile an image.
struct BlockSums {
    UINT factorX = 1;
    UINT factorY = 1;
    UINT columns = 0;           // blocks across
    UINT rows = 0;              // blocks down
    std::vector<uint32_t> sums;  // bytesPerPixel values per block, rows of blocks packed
};
using SharedPixels = std::shared_ptr<const PixelImage>;

// A packed image of the given layout with its bytes allocated and writable through the returned
// pointer; null when memory runs out.
std::shared_ptr<PixelImage> AllocatePixelImage(UINT width, UINT height, UINT bytesPerPixel,
                                               BYTE** bytes);

// How the converter and the scaler read the sources this substitute made, without going through
// (and being counted as) the public calls.
class PixelSource {
public:
    // The size, known without decoding; WINCODEC_ERR_WRONGSTATE before initialisation.
    virtual HRESULT SourceSize(UINT& width, UINT& height) = 0;
    // 3 or 4; a decoded frame learns it only by decoding.
    virtual HRESULT SourceBytesPerPixel(UINT& bytesPerPixel) = 0;
    // The pixels, made on first demand and kept.
    virtual HRESULT SourcePixels(SharedPixels& out) = 0;

protected:
    ~PixelSource() = default;
};

// The substitute's own view of a source, or null for an object from elsewhere.
inline PixelSource* AsPixelSource(IWICBitmapSource* source) {
    return dynamic_cast<PixelSource*>(source);
}

// CopyPixels of any source: state, rectangle, stride and buffer size checked before a byte is
// written; only the rectangle's bytes of each row are written, never those between rows.
HRESULT CopySourcePixels(PixelSource& source, const WICRect* rect, UINT stride, UINT bufferSize,
                         BYTE* buffer);

// GetSize and CopyPixels for every bitmap source, each checking its injected fault first.
template <class Interface>
class BitmapSourceObject : public ComObject<Interface>, public PixelSource {
public:
    HRESULT STDMETHODCALLTYPE GetSize(UINT* width, UINT* height) override {
        if (ShouldFail(Call::GetSize)) return kInjectedWicFailure;
        if (!width || !height) return E_INVALIDARG;
        return SourceSize(*width, *height);
    }
    HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT stride, UINT bufferSize,
                                         BYTE* buffer) override {
        if (ShouldFail(Call::CopyPixels)) return kInjectedWicFailure;
        return CopySourcePixels(*this, rect, stride, bufferSize, buffer);
    }
};

// A source made from another source of this substitute (the converter, the scaler): holds a
// reference to it, reads it without counted calls, and keeps what it made from it.
template <class Interface>
class DerivedSourceObject : public BitmapSourceObject<Interface> {
protected:
    bool IsInitialised() const { return static_cast<bool>(source_); }
    PixelSource& Source() { return *sourcePixels_; }

    // Takes `source` as the one to read; fails for objects from elsewhere (whose pixels this
    // substitute cannot read) and for sources not initialised themselves.
    HRESULT Attach(IWICBitmapSource* source) {
        PixelSource* pixels = AsPixelSource(source);
        if (!pixels) return E_INVALIDARG;
        UINT width, height;
        HRESULT hr = pixels->SourceSize(width, height);
        if (FAILED(hr)) return hr;
        source->AddRef();
        source_ = ComPtr<IWICBitmapSource>::Adopt(source);
        sourcePixels_ = pixels;
        return S_OK;
    }

    // What `make` turns the source's pixels into, made on the first call and kept; `make`
    // returns null when memory runs out.
    template <class Make>
    HRESULT KeptPixels(SharedPixels& out, Make make) {
        if (!source_) return WINCODEC_ERR_WRONGSTATE;
        std::lock_guard<std::mutex> lock(mutex_);
        if (!made_) {
            SharedPixels in;
            HRESULT hr = sourcePixels_->SourcePixels(in);
            if (FAILED(hr)) return hr;
            made_ = make(in);
            if (!made_) return E_OUTOFMEMORY;
        }
        out = made_;
        return S_OK;
    }

private:
    ComPtr<IWICBitmapSource> source_;      // null until initialised
    PixelSource* sourcePixels_ = nullptr;  // the same object, read without counted calls
    std::mutex mutex_;
    SharedPixels made_;
};

// The objects, each returned with one reference owned by the caller.
HRESULT CreateImagingFactory(REFIID iid, void** out);
// `codec` is the gdk-pixbuf loader chosen from the content; the header is read here.
HRESULT OpenBitmapDecoder(const char* codec, std::vector<uint8_t> bytes, IWICBitmapDecoder** out);
IWICFormatConverter* NewFormatConverter();
IWICBitmapScaler* NewFantScaler();
// A bitmap holding `source`'s pixels from the start; E_OUTOFMEMORY or the source's failure
// when they cannot be had.
HRESULT NewMemoryBitmap(IWICBitmapSource* source, IWICBitmap** out);

}  // namespace substitute
