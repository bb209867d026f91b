// Direct2D substitute objects that the device context looks into: bitmaps over CPU textures
// and the blur effect with its output image.
#pragma once

#include "../com_ptr.h"
#include "com_object.h"
#include "d2d1.h"
#include "d3d11_cpu_texture.h"

namespace substitute {

class Bitmap final : public ComObject<ID2D1Bitmap1> {
public:
    Bitmap(CpuTexture* texture, D2D1_BITMAP_OPTIONS options) : options_(options) {
        texture->AddRef();
        texture_ = ComPtr<CpuTexture>::Adopt(texture);
    }
    CpuTexture& Texture() const { return *texture_.Get(); }
    D2D1_BITMAP_OPTIONS Options() const { return options_; }

private:
    bool Implements(REFIID iid) const override;
    ComPtr<CpuTexture> texture_;
    D2D1_BITMAP_OPTIONS options_;
};

class BlurEffect final : public ComObject<ID2D1Effect> {
public:
    HRESULT STDMETHODCALLTYPE SetValue(UINT32 index, D2D1_PROPERTY_TYPE type, const BYTE* data,
                                       UINT32 dataSize) override;
    void STDMETHODCALLTYPE SetInput(UINT32 index, ID2D1Image* input, BOOL invalidate) override;
    void STDMETHODCALLTYPE GetOutput(ID2D1Image** output) override;

    ID2D1Image* Input() const { return input_.Get(); }
    float deviation = 3.0f;  // the effect's defaults
    uint32_t borderMode = D2D1_BORDER_MODE_SOFT;

private:
    bool Implements(REFIID iid) const override;
    ComPtr<ID2D1Image> input_;
};

// The image an effect gives out; it keeps the effect alive.
class EffectOutput final : public ComObject<ID2D1Image> {
public:
    explicit EffectOutput(BlurEffect* effect) {
        effect->AddRef();
        effect_ = ComPtr<BlurEffect>::Adopt(effect);
    }
    const BlurEffect& Effect() const { return *effect_.Get(); }

private:
    bool Implements(REFIID iid) const override;
    ComPtr<BlurEffect> effect_;
};

}  // namespace substitute
