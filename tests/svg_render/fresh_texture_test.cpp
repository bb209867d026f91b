// A new texture reads as zeros whatever memory it is given and however it is first touched,
// and a copy keeps what it was given.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/posix/d3d11_cpu_texture.h"
#include "svg/level_bitmap.h"
#include "svg/svg_device.h"
#include "svg_render_support.h"

namespace {

constexpr uint32_t kSide = 8;

struct FirstTouch {
    const char* name;
    bool clear;             // the target cleared before it is copied
    D2D1_COLOR_F color;     // the clear colour
    bool copy;              // the target copied into the staging texture before it is mapped
    bool clearAfterCopy;    // the target cleared to blue after the copy
    uint8_t expected[4];    // every pixel of the mapped rows; the row padding is always zero
};

class FreshTexture : public SvgRenderFixture, public ::testing::WithParamInterface<FirstTouch> {
protected:
    ComPtr<ID3D11Texture2D> Staging() {
        D3D11_TEXTURE2D_DESC desc = LevelTextureDesc(kSide, kSide);
        desc.Usage = D3D11_USAGE_STAGING;
        desc.BindFlags = 0;
        desc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
        ComPtr<ID3D11Texture2D> texture;
        EXPECT_EQ(device_.device->CreateTexture2D(&desc, nullptr, texture.Put()), S_OK);
        return texture;
    }
    void TearDown() override {
        device_ = {};
        SvgRenderFixture::TearDown();
    }
    SvgDevice device_;
};

TEST_P(FreshTexture, ReadsAsZerosOverReusedMemory) {
    ASSERT_TRUE(CreateSvgDevice(device_));
    ID3D11DeviceContext* immediate = device_.immediateContext.Get();
    // Memory of the same size scribbled over and let go, so the next textures may be given it.
    {
        ComPtr<ID3D11Texture2D> used[2] = {Staging(), Staging()};
        for (const ComPtr<ID3D11Texture2D>& each : used) {
            auto* texture = static_cast<substitute::CpuTexture*>(each.Get());
            std::memset(texture->Pixels(), 0xAB, size_t(texture->RowPitch()) * kSide);
        }
    }

    LevelBitmap target;
    ASSERT_TRUE(CreateLevelBitmap(device_.device.Get(), device_.context.Get(), kSide, kSide,
                                  D2D1_BITMAP_OPTIONS_TARGET | D2D1_BITMAP_OPTIONS_CANNOT_DRAW,
                                  target));
    const auto clearTarget = [&](const D2D1_COLOR_F& color) {
        device_.context->SetTarget(target.bitmap.Get());
        device_.context->BeginDraw();
        device_.context->Clear(&color);
        ASSERT_EQ(device_.context->EndDraw(nullptr, nullptr), S_OK);
        device_.context->SetTarget(nullptr);
    };
    if (GetParam().clear) clearTarget(GetParam().color);
    ComPtr<ID3D11Texture2D> staging = Staging();
    if (GetParam().copy) immediate->CopyResource(staging.Get(), target.texture.Get());
    if (GetParam().clearAfterCopy) clearTarget({0, 0, 1, 1});

    D3D11_MAPPED_SUBRESOURCE mapped{};
    ASSERT_EQ(immediate->Map(staging.Get(), 0, D3D11_MAP_READ, 0, &mapped), S_OK);
    const auto* bytes = static_cast<const uint8_t*>(mapped.pData);
    for (size_t y = 0; y < kSide; ++y)
        for (size_t x = 0; x < mapped.RowPitch; ++x) {
            const uint8_t expected = x < kSide * 4 ? GetParam().expected[x % 4] : 0;
            ASSERT_EQ(bytes[y * mapped.RowPitch + x], expected) << "row " << y << " byte " << x;
        }
    immediate->Unmap(staging.Get(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Touches, FreshTexture,
    ::testing::Values(
        FirstTouch{"MappedAsMade", false, {}, false, false, {0, 0, 0, 0}},
        FirstTouch{"CopiedUntouched", false, {}, true, false, {0, 0, 0, 0}},
        FirstTouch{"CopiedUntouchedThenCleared", false, {}, true, true, {0, 0, 0, 0}},
        FirstTouch{"ClearedTransparent", true, {0, 0, 0, 0}, true, false, {0, 0, 0, 0}},
        FirstTouch{"ClearedOpaqueRed", true, {1, 0, 0, 1}, true, false, {0, 0, 255, 255}},
        FirstTouch{"RedCopiedThenCleared", true, {1, 0, 0, 1}, true, true, {0, 0, 255, 255}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
