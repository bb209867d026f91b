// A Direct2D bitmap over a Direct3D texture of one level's size, and the level transform.
#pragma once

#include <cstdint>

#include "../platform/platform.h"

// Declared in creation order, so the members are released in reverse.
struct LevelBitmap {
    ComPtr<ID3D11Texture2D> texture;
    ComPtr<IDXGISurface> surface;
    ComPtr<ID2D1Bitmap1> bitmap;
};

// The render texture of a level: BGRA, bindable as render target and shader resource.
D3D11_TEXTURE2D_DESC LevelTextureDesc(uint32_t width, uint32_t height);

// A premultiplied BGRA bitmap at the context's DPI over a new level texture.
// `options` is TARGET | CANNOT_DRAW for the level itself, TARGET alone for a blur's input.
bool CreateLevelBitmap(ID3D11Device* device, ID2D1DeviceContext5* context, uint32_t width,
                       uint32_t height, D2D1_BITMAP_OPTIONS options, LevelBitmap& out);

// Scales the full-size layout about the origin down to the level.
D2D1_MATRIX_3X2_F LevelTransform(float scaleX, float scaleY);
D2D1_MATRIX_3X2_F IdentityTransform();
