// The bitmap decoder and its one frame over gdk-pixbuf. The decoder keeps the file's bytes; its
// size comes from the header when it is opened, its pixels are decoded on the first demand and
// kept for every frame and every later read.
//
// Frames deliver what the decoded image holds, as WIC's decoders do for these formats: images
// with alpha as 32bppBGRA (straight alpha), images without as 24bppBGR.
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <mutex>
#include <utility>

#include "wic_objects.h"

namespace substitute {
namespace {

// One gdk-pixbuf loader, closed exactly once whatever happens to it.
class PixbufLoader {
public:
    explicit PixbufLoader(const char* codec)
        : loader_(gdk_pixbuf_loader_new_with_type(codec, nullptr)) {}
    PixbufLoader(const PixbufLoader&) = delete;
    PixbufLoader& operator=(const PixbufLoader&) = delete;
    ~PixbufLoader() {
        if (!loader_) return;
        Close();
        g_object_unref(loader_);
    }

    GdkPixbufLoader* Get() const { return loader_; }
    bool IsClosed() const { return closed_; }

    // False when the loader refused the bytes; it has then closed itself.
    bool Write(const uint8_t* data, size_t size) {
        if (closed_) return false;
        GError* error = nullptr;
        if (gdk_pixbuf_loader_write(loader_, data, size, &error)) return true;
        g_clear_error(&error);
        closed_ = true;
        return false;
    }
    // False when the image was incomplete or damaged.
    bool Close() {
        if (closed_) return false;
        closed_ = true;
        GError* error = nullptr;
        bool complete = gdk_pixbuf_loader_close(loader_, &error);
        g_clear_error(&error);
        return complete;
    }

private:
    GdkPixbufLoader* loader_;
    bool closed_ = false;
};

struct HeaderSize {
    int width = 0;
    int height = 0;
    bool known = false;
};

// Records the size and asks for a 0 x 0 image, which makes every loader stop before it takes
// pixel memory (the way gdk_pixbuf_get_file_info reads a header).
void RecordHeaderSize(GdkPixbufLoader* loader, gint width, gint height, gpointer data) {
    auto* size = static_cast<HeaderSize*>(data);
    *size = {width, height, true};
    gdk_pixbuf_loader_set_size(loader, 0, 0);
}

HRESULT ReadHeaderSize(const char* codec, const std::vector<uint8_t>& bytes, UINT& width,
                       UINT& height) {
    PixbufLoader loader(codec);
    if (!loader.Get()) return WINCODEC_ERR_COMPONENTNOTFOUND;
    HeaderSize size;
    g_signal_connect(loader.Get(), "size-prepared", G_CALLBACK(RecordHeaderSize), &size);
    constexpr size_t kChunk = 4096;  // headers sit near the start; feed no more than needed
    for (size_t at = 0; at < bytes.size() && !size.known && !loader.IsClosed(); at += kChunk)
        loader.Write(bytes.data() + at, std::min(kChunk, bytes.size() - at));
    // Loaders that take the whole file before parsing it report the size when closed.
    if (!size.known) loader.Close();
    if (!size.known || size.width <= 0 || size.height <= 0) return WINCODEC_ERR_BADHEADER;
    width = UINT(size.width);
    height = UINT(size.height);
    return S_OK;
}

struct ExpectedSize {
    int width;
    int height;
};

// A second look at the header while decoding: anything but the size already checked against
// the limits is refused before the loader allocates for it.
void RefuseOtherSize(GdkPixbufLoader* loader, gint width, gint height, gpointer data) {
    auto* expected = static_cast<ExpectedSize*>(data);
    if (width != expected->width || height != expected->height)
        gdk_pixbuf_loader_set_size(loader, 0, 0);
}

void SwapRedAndBlue(BYTE* pixels, size_t stride, UINT width, UINT height, UINT bytesPerPixel) {
    for (UINT y = 0; y < height; ++y) {
        BYTE* p = pixels + y * stride;
        for (UINT x = 0; x < width; ++x, p += bytesPerPixel) std::swap(p[0], p[2]);
    }
}

// Decodes the whole image (a GIF's first frame) into the frame's layout, in the decoder's own
// buffer: gdk-pixbuf's R, G, B(, A) rows become B, G, R(, A) in place.
HRESULT DecodePixels(const char* codec, const std::vector<uint8_t>& bytes, UINT width, UINT height,
                     SharedPixels& out) {
    if (!WithinImageLimits(width, height)) return WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
    PixbufLoader loader(codec);
    if (!loader.Get()) return WINCODEC_ERR_COMPONENTNOTFOUND;
    ExpectedSize expected{int(width), int(height)};
    g_signal_connect(loader.Get(), "size-prepared", G_CALLBACK(RefuseOtherSize), &expected);
    if (!loader.Write(bytes.data(), bytes.size()) || !loader.Close()) return WINCODEC_ERR_BADIMAGE;

    // For an animation this is its static image, the first frame.
    GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader.Get());
    if (!pixbuf || gdk_pixbuf_get_width(pixbuf) != int(width) ||
        gdk_pixbuf_get_height(pixbuf) != int(height) ||
        gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 ||
        gdk_pixbuf_get_colorspace(pixbuf) != GDK_COLORSPACE_RGB)
        return WINCODEC_ERR_BADIMAGE;
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    if (channels != (gdk_pixbuf_get_has_alpha(pixbuf) ? 4 : 3)) return WINCODEC_ERR_BADIMAGE;

    auto image = std::make_shared<PixelImage>();
    image->width = width;
    image->height = height;
    image->bytesPerPixel = UINT(channels);
    image->stride = size_t(gdk_pixbuf_get_rowstride(pixbuf));
    BYTE* pixels = gdk_pixbuf_get_pixels(pixbuf);
    image->pixels = pixels;
    image->storage = std::shared_ptr<void>(g_object_ref(pixbuf), g_object_unref);
    SwapRedAndBlue(pixels, image->stride, width, height, image->bytesPerPixel);
    out = std::move(image);
    return S_OK;
}

class Decoder final : public ComObject<IWICBitmapDecoder> {
public:
    Decoder(const char* codec, std::vector<uint8_t> bytes, UINT width, UINT height)
        : codec_(codec), bytes_(std::move(bytes)), width_(width), height_(height) {}

    HRESULT STDMETHODCALLTYPE GetFrame(UINT index, IWICBitmapFrameDecode** frame) override;

    void Size(UINT& width, UINT& height) const {
        width = width_;
        height = height_;
    }
    // The first call decodes; every later one, from any frame, gets the same pixels or error.
    HRESULT Pixels(SharedPixels& out) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!decoded_) {
            decodeResult_ = DecodePixels(codec_, bytes_, width_, height_, pixels_);
            decoded_ = true;
            if (SUCCEEDED(decodeResult_)) std::vector<uint8_t>().swap(bytes_);  // no longer needed
        }
        if (FAILED(decodeResult_)) return decodeResult_;
        out = pixels_;
        return S_OK;
    }

private:
    bool Implements(REFIID iid) const override { return iid == IID_IWICBitmapDecoder; }

    const char* codec_;           // gdk-pixbuf loader name
    std::vector<uint8_t> bytes_;  // the file as read, until decoded
    UINT width_;                  // from the header
    UINT height_;
    std::mutex mutex_;
    bool decoded_ = false;
    HRESULT decodeResult_ = S_OK;
    SharedPixels pixels_;
};

class Frame final : public BitmapSourceObject<IWICBitmapFrameDecode> {
public:
    explicit Frame(Decoder* decoder) {
        decoder->AddRef();
        decoder_ = ComPtr<Decoder>::Adopt(decoder);
    }

    HRESULT SourceSize(UINT& width, UINT& height) override {
        decoder_->Size(width, height);
        return S_OK;
    }
    HRESULT SourceBytesPerPixel(UINT& bytesPerPixel) override {
        SharedPixels pixels;
        HRESULT hr = decoder_->Pixels(pixels);
        if (SUCCEEDED(hr)) bytesPerPixel = pixels->bytesPerPixel;
        return hr;
    }
    HRESULT SourcePixels(SharedPixels& out) override { return decoder_->Pixels(out); }

private:
    bool Implements(REFIID iid) const override {
        return iid == IID_IWICBitmapSource || iid == IID_IWICBitmapFrameDecode;
    }

    ComPtr<Decoder> decoder_;  // kept alive by every frame it gave out
};

HRESULT Decoder::GetFrame(UINT index, IWICBitmapFrameDecode** frame) {
    if (frame) *frame = nullptr;
    if (ShouldFail(Call::GetFrame)) return kInjectedWicFailure;
    if (!frame) return E_INVALIDARG;
    if (index != 0) return WINCODEC_ERR_FRAMEMISSING;  // only the first frame is substituted
    *frame = new Frame(this);
    return S_OK;
}

}  // namespace

HRESULT OpenBitmapDecoder(const char* codec, std::vector<uint8_t> bytes, IWICBitmapDecoder** out) {
    UINT width = 0, height = 0;
    HRESULT hr = ReadHeaderSize(codec, bytes, width, height);
    if (FAILED(hr)) return hr;
    *out = new Decoder(codec, std::move(bytes), width, height);
    return S_OK;
}

}  // namespace substitute
