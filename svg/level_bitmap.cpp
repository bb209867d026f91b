#include "level_bitmap.h"

D3D11_TEXTURE2D_DESC LevelTextureDesc(uint32_t width, uint32_t height) {
    D3D11_TEXTURE2D_DESC desc{};
    desc.Width = width;
    desc.Height = height;
    desc.MipLevels = 1;
    desc.ArraySize = 1;
    desc.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
    desc.SampleDesc.Count = 1;
    desc.SampleDesc.Quality = 0;
    desc.Usage = D3D11_USAGE_DEFAULT;
    desc.BindFlags = D3D11_BIND_SHADER_RESOURCE | D3D11_BIND_RENDER_TARGET;
    desc.CPUAccessFlags = 0;
    desc.MiscFlags = 0;
    return desc;
}

bool CreateLevelBitmap(ID3D11Device* device, ID2D1DeviceContext5* context, uint32_t width,
                       uint32_t height, D2D1_BITMAP_OPTIONS options, LevelBitmap& out) {
    const D3D11_TEXTURE2D_DESC desc = LevelTextureDesc(width, height);
    if (FAILED(device->CreateTexture2D(&desc, nullptr, out.texture.Put()))) return false;
    if (FAILED(out.texture->QueryInterface(IID_IDXGISurface, out.surface.PutVoid()))) return false;

    D2D1_BITMAP_PROPERTIES1 properties{};
    properties.pixelFormat.format = DXGI_FORMAT_B8G8R8A8_UNORM;
    properties.pixelFormat.alphaMode = D2D1_ALPHA_MODE_PREMULTIPLIED;
    properties.dpiX = 0;  // the context's DPI, 96: one unit is one pixel
    properties.dpiY = 0;
    properties.bitmapOptions = options;
    properties.colorContext = nullptr;
    return SUCCEEDED(
        context->CreateBitmapFromDxgiSurface(out.surface.Get(), &properties, out.bitmap.Put()));
}

D2D1_MATRIX_3X2_F LevelTransform(float scaleX, float scaleY) {
    D2D1_MATRIX_3X2_F m{};
    m._11 = scaleX;
    m._22 = scaleY;
    return m;
}

D2D1_MATRIX_3X2_F IdentityTransform() { return LevelTransform(1.0f, 1.0f); }
