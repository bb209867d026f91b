// A Direct3D texture of the substitute: BGRA rows in CPU memory, each row padded so that a
// reader has to honour the pitch.
#pragma once

#include <cstdint>
#include <memory>

#include "com_object.h"
#include "d3d11.h"
#include "pixel_buffer_pool.h"

namespace substitute {

// Bytes added to every row beyond width x 4.
inline constexpr UINT kTextureRowPadding = 48;

class CpuTexture final : public ComObject<ID3D11Texture2D> {
public:
    // Null (E_INVALIDARG or E_OUTOFMEMORY in `result`) when the description is not one the
    // renderer can have: a BGRA 2D texture of one level, either bindable or CPU-readable.
    static CpuTexture* Create(const D3D11_TEXTURE2D_DESC& desc, HRESULT& result);

    void STDMETHODCALLTYPE GetDesc(D3D11_TEXTURE2D_DESC* desc) override { *desc = desc_; }
    // Asking for IDXGISurface gives a surface object over this texture.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;

    const D3D11_TEXTURE2D_DESC& Desc() const { return desc_; }
    UINT RowPitch() const { return rowPitch_; }
    // A new texture reads as zeros; its memory is only filled when first asked for.
    const uint8_t* PixelsToRead();
    // For writing: a texture sharing its memory with a copy is given memory of its own
    // first. Null when that memory cannot be had.
    uint8_t* Pixels();
    // For a caller about to write the width x 4 bytes of every row; the padding is zero.
    uint8_t* PixelsToOverwrite();
    // True while nothing has been written since creation, so every byte reads as zero.
    bool Untouched() const { return untouched_; }
    // Takes the contents of `source`, a texture of the same size, sharing its memory until
    // one of the two is written.
    void CopyFrom(CpuTexture& source);
    bool mapped = false;  // between Map and Unmap

private:
    CpuTexture() = default;
    bool Implements(REFIID iid) const override;

    // False when the memory cannot be had.
    bool OwnPixels();

    D3D11_TEXTURE2D_DESC desc_{};
    UINT rowPitch_ = 0;
    std::shared_ptr<PixelBuffer> pixels_;  // shared by the textures copied from one another
    bool untouched_ = true;                // the zeros are not written into `pixels_` yet
};

// The texture behind a surface, or null when `surface` is not one of this substitute's.
CpuTexture* TextureOfSurface(IDXGISurface* surface);

}  // namespace substitute
