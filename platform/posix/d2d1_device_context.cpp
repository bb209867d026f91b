// The Direct2D device context: a target bitmap, a transform, drawing between BeginDraw and
// EndDraw, and the errors Direct2D reports only at EndDraw.
//
// Direct2D batches drawing and may run a batch as late as Flush or EndDraw. The one draw that
// reads state the caller can still change afterwards is DrawSvgDocument (the document's tree),
// so it waits here until Flush, EndDraw or a call that needs the pixels: a caller that changes
// the tree before flushing sees what Direct2D could show it.
#include <cstring>
#include <new>
#include <vector>


#include "d2d1_draw_log.h"
#include "d2d1_resources.h"
#include "d2d1_svg.h"
#include "gaussian_blur.h"
#include "pixel_buffer_pool.h"
#include "substitute.h"
#include "svg_document.h"

const IID IID_ID2D1DeviceContext5 = GuidFromString("7836D248-68CC-4DF6-B9E8-DE991BF62EB7");

namespace substitute {
namespace {

const IID IID_ID2D1DeviceContext2 = GuidFromString("394EA6A3-0C34-4321-950B-6CA20F0BE6C7");

std::vector<DrawRecord> drawLog;

bool IsIdentity(const D2D1_MATRIX_3X2_F& m) {
    return m._11 == 1 && m._12 == 0 && m._21 == 0 && m._22 == 1 && m._31 == 0 && m._32 == 0;
}

// dst = src + dst * (1 - src alpha), on premultiplied bytes. False when the target's memory
// cannot be had.
bool CompositeSourceOver(const uint8_t* source, size_t sourcePitch, CpuTexture& target) {
    const UINT width = target.Desc().Width;
    uint8_t* pixels = target.Pixels();
    if (!pixels) return false;
    for (UINT y = 0; y < target.Desc().Height; ++y) {
        const uint8_t* s = source + y * sourcePitch;
        uint8_t* d = pixels + static_cast<size_t>(y) * target.RowPitch();
        for (UINT x = 0; x < width * 4; x += 4) {
            // A transparent source pixel leaves the target as it is.
            if ((s[x] | s[x + 1] | s[x + 2] | s[x + 3]) == 0) continue;
            const unsigned keep = 255u - s[x + 3];
            for (int c = 0; c < 4; ++c)
                d[x + c] = static_cast<uint8_t>(s[x + c] + (d[x + c] * keep + 127u) / 255u);
        }
    }
    return true;
}

class DeviceContext final : public ComObject<ID2D1DeviceContext5> {
public:
    void STDMETHODCALLTYPE SetTransform(const D2D1_MATRIX_3X2_F* transform) override {
        if (transform) transform_ = *transform;
    }
    void STDMETHODCALLTYPE SetAntialiasMode(D2D1_ANTIALIAS_MODE) override {}

    void STDMETHODCALLTYPE Clear(const D2D1_COLOR_F* color) override {
        Bitmap* target = DrawingTarget();
        if (!target) return;
        RunPendingDraws();
        const D2D1_COLOR_F c = color ? *color : D2D1_COLOR_F{0, 0, 0, 0};
        const auto byte = [](float v) {
            return static_cast<uint8_t>(v <= 0 ? 0 : v >= 1 ? 255 : v * 255.0f + 0.5f);
        };
        const uint8_t bgra[4] = {byte(c.b * c.a), byte(c.g * c.a), byte(c.r * c.a), byte(c.a)};
        CpuTexture& texture = target->Texture();
        uint32_t pixel;
        std::memcpy(&pixel, bgra, 4);
        if (pixel == 0 && texture.Untouched()) return;
        uint8_t* pixels = texture.PixelsToOverwrite();
        if (!pixels) {
            error_ = E_OUTOFMEMORY;
            return;
        }
        for (UINT y = 0; y < texture.Desc().Height; ++y) {
            uint8_t* row = pixels + static_cast<size_t>(y) * texture.RowPitch();
            if (pixel == 0) {
                std::memset(row, 0, static_cast<size_t>(texture.Desc().Width) * 4);
                continue;
            }
            for (UINT x = 0; x < texture.Desc().Width; ++x) std::memcpy(row + x * 4, bgra, 4);
        }
    }

    void STDMETHODCALLTYPE BeginDraw() override {
        if (drawing_) error_ = D2DERR_WRONG_STATE;
        drawing_ = true;
    }

    // Runs what was batched; the error so far stays for EndDraw as well. No tags are ever set,
    // so both come back 0.
    HRESULT STDMETHODCALLTYPE Flush(D2D1_TAG* tag1, D2D1_TAG* tag2) override {
        if (tag1) *tag1 = 0;
        if (tag2) *tag2 = 0;
        if (!drawing_) return D2DERR_WRONG_STATE;
        RunPendingDraws();
        return error_;
    }

    HRESULT STDMETHODCALLTYPE EndDraw(D2D1_TAG*, D2D1_TAG*) override {
        if (drawing_) RunPendingDraws();
        HRESULT result = drawing_ ? error_ : D2DERR_WRONG_STATE;
        drawing_ = false;
        error_ = S_OK;
        if (ShouldFail(Call::EndDraw)) return E_FAIL;
        return result;
    }

    HRESULT STDMETHODCALLTYPE CreateBitmapFromDxgiSurface(IDXGISurface* surface,
                                                          const D2D1_BITMAP_PROPERTIES1* properties,
                                                          ID2D1Bitmap1** bitmap) override {
        if (!bitmap) return E_POINTER;
        *bitmap = nullptr;
        if (ShouldFail(Call::CreateBitmapFromDxgiSurface)) return E_OUTOFMEMORY;
        CpuTexture* texture = TextureOfSurface(surface);
        if (!texture || !properties) return E_INVALIDARG;
        // The surface's format, premultiplied; a target needs a texture bound for rendering.
        if (properties->pixelFormat.format != DXGI_FORMAT_B8G8R8A8_UNORM ||
            properties->pixelFormat.alphaMode != D2D1_ALPHA_MODE_PREMULTIPLIED ||
            properties->dpiX != properties->dpiY || properties->colorContext)
            return E_INVALIDARG;
        if ((properties->bitmapOptions & D2D1_BITMAP_OPTIONS_TARGET) &&
            !(texture->Desc().BindFlags & D3D11_BIND_RENDER_TARGET))
            return E_INVALIDARG;
        *bitmap = new (std::nothrow) Bitmap(texture, properties->bitmapOptions);
        return *bitmap ? S_OK : E_OUTOFMEMORY;
    }

    HRESULT STDMETHODCALLTYPE CreateEffect(REFCLSID effectId, ID2D1Effect** effect) override {
        if (!effect) return E_POINTER;
        *effect = nullptr;
        if (ShouldFail(Call::CreateEffect)) return E_OUTOFMEMORY;
        if (effectId != CLSID_D2D1GaussianBlur) return REGDB_E_CLASSNOTREG;
        *effect = new (std::nothrow) BlurEffect;
        return *effect ? S_OK : E_OUTOFMEMORY;
    }

    void STDMETHODCALLTYPE SetTarget(ID2D1Image* image) override {
        auto* bitmap = dynamic_cast<Bitmap*>(image);
        if (image && (!bitmap || !(bitmap->Options() & D2D1_BITMAP_OPTIONS_TARGET))) {
            error_ = E_INVALIDARG;
            return;
        }
        if (bitmap) bitmap->AddRef();
        target_ = ComPtr<Bitmap>::Adopt(bitmap);
    }

    // Only what the blur pass draws: an effect output over a drawable bitmap of the target's
    // size, at the origin, under the identity transform.
    void STDMETHODCALLTYPE DrawImage(ID2D1Image* image, const D2D1_POINT_2F* targetOffset,
                                     const D2D1_RECT_F* imageRectangle, D2D1_INTERPOLATION_MODE,
                                     D2D1_COMPOSITE_MODE compositeMode) override {
        Bitmap* target = DrawingTarget();
        if (!target) return;
        RunPendingDraws();
        auto* output = dynamic_cast<EffectOutput*>(image);
        Bitmap* input = output ? dynamic_cast<Bitmap*>(output->Effect().Input()) : nullptr;
        if (!input || input == target || (input->Options() & D2D1_BITMAP_OPTIONS_CANNOT_DRAW) ||
            targetOffset || imageRectangle || compositeMode != D2D1_COMPOSITE_MODE_SOURCE_OVER ||
            !IsIdentity(transform_) || input->Texture().Desc().Width != target->Texture().Desc().Width ||
            input->Texture().Desc().Height != target->Texture().Desc().Height) {
            error_ = E_INVALIDARG;
            return;
        }
        CpuTexture& source = input->Texture();
        const uint32_t width = source.Desc().Width, height = source.Desc().Height;
        const PixelBuffer blurred = PixelBuffer::Take(static_cast<size_t>(width) * height * 4);
        if (!blurred.data()) {
            error_ = E_OUTOFMEMORY;
            return;
        }
        const float deviation = output->Effect().deviation;
        GaussianBlurPremultiplied(source.PixelsToRead(), source.RowPitch(),
                                  blurred.data(), static_cast<size_t>(width) * 4, width, height,
                                  deviation);
        if (!CompositeSourceOver(blurred.data(), static_cast<size_t>(width) * 4, target->Texture()))
            error_ = E_OUTOFMEMORY;
        Log(DrawKind::BlurredImage, *target, deviation, output->Effect().borderMode);
    }

    HRESULT STDMETHODCALLTYPE CreateSvgDocument(IStream* inputXmlStream, D2D1_SIZE_F viewportSize,
                                                ID2D1SvgDocument** document) override {
        if (!document) return E_POINTER;
        *document = nullptr;
        if (ShouldFail(Call::CreateSvgDocument)) return E_OUTOFMEMORY;
        HRESULT result = E_FAIL;
        *document = CreateSvgDocumentFromStream(inputXmlStream, viewportSize, result);
        return result;
    }

    void STDMETHODCALLTYPE DrawSvgDocument(ID2D1SvgDocument* document) override {
        Bitmap* target = DrawingTarget();
        if (!target) return;
        try {
            pending_.push_back({ComPtr<Bitmap>::Retain(target),
                                ComPtr<ID2D1SvgDocument>::Retain(document), transform_});
        } catch (const std::bad_alloc&) {
            error_ = E_OUTOFMEMORY;
        }
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out && iid == IID_ID2D1DeviceContext5 && ShouldFail(Call::QueryDeviceContext5)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        return ComObject<ID2D1DeviceContext5>::QueryInterface(iid, out);
    }

private:
    bool Implements(REFIID iid) const override {
        return iid == IID_ID2D1DeviceContext5 || iid == IID_ID2D1DeviceContext2;
    }

    // The target to draw into; drawing outside BeginDraw/EndDraw or without a target is an
    // error EndDraw reports.
    Bitmap* DrawingTarget() {
        if (!drawing_) {
            error_ = D2DERR_WRONG_STATE;
            return nullptr;
        }
        if (!target_) {
            error_ = D2DERR_NOT_INITIALIZED;
            return nullptr;
        }
        return target_.Get();
    }

    // A document draw as it was asked for; the tree is read when it runs.
    struct PendingDraw {
        ComPtr<Bitmap> target;
        ComPtr<ID2D1SvgDocument> document;
        D2D1_MATRIX_3X2_F transform;
    };

    void RunPendingDraws() {
        for (PendingDraw& draw : pending_) {
            CpuTexture& texture = draw.target->Texture();
            uint8_t* pixels = texture.Pixels();
            if (!pixels)
                error_ = E_OUTOFMEMORY;
            else if (!RenderSvgDocument(draw.document.Get(), draw.transform, pixels,
                                        texture.Desc().Width, texture.Desc().Height,
                                        texture.RowPitch()))
                error_ = E_INVALIDARG;
            Log(DrawKind::SvgDocument, *draw.target.Get(), 0.0f, 0);
        }
        pending_.clear();
    }

    static void Log(DrawKind kind, Bitmap& target, float deviation, uint32_t borderMode) {
        drawLog.push_back({kind, target.Texture().Desc().Width, target.Texture().Desc().Height,
                           (target.Options() & D2D1_BITMAP_OPTIONS_CANNOT_DRAW) != 0, deviation,
                           borderMode});
    }

    ComPtr<Bitmap> target_;
    std::vector<PendingDraw> pending_;
    D2D1_MATRIX_3X2_F transform_{1, 0, 0, 1, 0, 0};
    bool drawing_ = false;
    HRESULT error_ = S_OK;  // first or latest draw error, reported by EndDraw
};

}  // namespace

ID2D1DeviceContext2* NewDeviceContext() { return new (std::nothrow) DeviceContext; }

const std::vector<DrawRecord>& DrawLog() { return drawLog; }
void ClearDrawLog() { drawLog.clear(); }

}  // namespace substitute
