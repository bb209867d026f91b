#include "d3d11_cpu_texture.h"

#include <cstring>
#include <new>

#include "../com_ptr.h"
#include "substitute.h"

const IID IID_ID3D11Texture2D = GuidFromString("6F15AAF2-D208-4E89-9AB4-489535D34F9C");
const IID IID_IDXGISurface = GuidFromString("CAFCB56C-6AC3-4889-BF47-9E23BBD260EC");
extern const IID IID_ID3D11Resource;
const IID IID_ID3D11Resource = GuidFromString("DC8E63F3-D12B-4952-B47B-5E45026A862D");

namespace substitute {
namespace {

// The largest side a feature level 11 device accepts.
constexpr UINT kMaxTextureSide = 16384;

class DxgiSurface final : public ComObject<IDXGISurface> {
public:
    explicit DxgiSurface(CpuTexture* texture) {
        texture->AddRef();
        texture_ = ComPtr<CpuTexture>::Adopt(texture);
    }
    CpuTexture* Texture() const { return texture_.Get(); }

private:
    bool Implements(REFIID iid) const override { return iid == IID_IDXGISurface; }
    ComPtr<CpuTexture> texture_;
};

bool DescribesUsableTexture(const D3D11_TEXTURE2D_DESC& desc) {
    if (desc.Width == 0 || desc.Height == 0 || desc.Width > kMaxTextureSide ||
        desc.Height > kMaxTextureSide)
        return false;
    if (desc.MipLevels != 1 || desc.ArraySize != 1 || desc.Format != DXGI_FORMAT_B8G8R8A8_UNORM ||
        desc.SampleDesc.Count != 1 || desc.SampleDesc.Quality != 0 || desc.MiscFlags != 0)
        return false;
    if (desc.Usage == D3D11_USAGE_STAGING)
        return desc.BindFlags == 0 && desc.CPUAccessFlags == D3D11_CPU_ACCESS_READ;
    return desc.Usage == D3D11_USAGE_DEFAULT && desc.CPUAccessFlags == 0;
}

}  // namespace

CpuTexture* CpuTexture::Create(const D3D11_TEXTURE2D_DESC& desc, HRESULT& result) {
    if (!DescribesUsableTexture(desc)) {
        result = E_INVALIDARG;
        return nullptr;
    }
    CpuTexture* texture = new (std::nothrow) CpuTexture;
    if (!texture) {
        result = E_OUTOFMEMORY;
        return nullptr;
    }
    texture->desc_ = desc;
    texture->rowPitch_ = desc.Width * 4 + kTextureRowPadding;
    const size_t bytes = static_cast<size_t>(texture->rowPitch_) * desc.Height;
    PixelBuffer pixels = PixelBuffer::Take(bytes);
    try {
        if (pixels.data())
            texture->pixels_ = std::shared_ptr<PixelBuffer>(new (std::nothrow)
                                                                PixelBuffer(std::move(pixels)));
    } catch (const std::bad_alloc&) {
        texture->pixels_ = nullptr;  // Direct3D answers E_OUTOFMEMORY; it never throws
    }
    if (!texture->pixels_) {
        texture->Release();
        result = E_OUTOFMEMORY;
        return nullptr;
    }
    result = S_OK;
    return texture;
}

HRESULT CpuTexture::QueryInterface(REFIID iid, void** out) {
    if (!out || iid != IID_IDXGISurface) return ComObject<ID3D11Texture2D>::QueryInterface(iid, out);
    *out = nullptr;
    if (ShouldFail(Call::QueryDxgiSurface)) return E_NOINTERFACE;
    DxgiSurface* surface = new (std::nothrow) DxgiSurface(this);
    if (!surface) return E_OUTOFMEMORY;
    *out = static_cast<IDXGISurface*>(surface);
    return S_OK;
}

const uint8_t* CpuTexture::PixelsToRead() {
    if (untouched_) std::memset(pixels_->data(), 0, pixels_->size());
    untouched_ = false;
    return pixels_->data();
}

bool CpuTexture::OwnPixels() {
    if (pixels_.use_count() == 1) return true;
    PixelBuffer own = PixelBuffer::Take(pixels_->size());
    if (!own.data()) return false;
    std::memcpy(own.data(), pixels_->data(), own.size());
    auto owned = std::shared_ptr<PixelBuffer>(new (std::nothrow) PixelBuffer(std::move(own)));
    if (!owned) return false;
    pixels_ = std::move(owned);
    return true;
}

uint8_t* CpuTexture::Pixels() {
    if (!OwnPixels()) return nullptr;
    PixelsToRead();
    return pixels_->data();
}

uint8_t* CpuTexture::PixelsToOverwrite() {
    if (!OwnPixels()) return nullptr;
    if (untouched_) {
        const size_t rowBytes = static_cast<size_t>(desc_.Width) * 4;
        for (UINT y = 0; y < desc_.Height; ++y)
            std::memset(pixels_->data() + static_cast<size_t>(y) * rowPitch_ + rowBytes, 0,
                        rowPitch_ - rowBytes);
    }
    untouched_ = false;
    return pixels_->data();
}

void CpuTexture::CopyFrom(CpuTexture& source) {
    pixels_ = source.pixels_;
    untouched_ = source.untouched_;
}

bool CpuTexture::Implements(REFIID iid) const {
    return iid == IID_ID3D11Texture2D || iid == IID_ID3D11Resource;
}

CpuTexture* TextureOfSurface(IDXGISurface* surface) {
    auto* own = dynamic_cast<DxgiSurface*>(surface);
    return own ? own->Texture() : nullptr;
}

}  // namespace substitute
