#include "svg_level_renderer.h"

#include "../load/locked_level.h"
#include "element_pass.h"
#include "level_bitmap.h"

namespace {

bool DrawLevel(ID3D11Device* device, ID2D1DeviceContext5* context, ID2D1SvgDocument* document,
               ID2D1SvgElement* root, const std::vector<ElementBlur>& blurs, const SvgLevel& level,
               ID2D1Bitmap1* renderTarget) {
    const D2D1_COLOR_F transparent{0.0f, 0.0f, 0.0f, 0.0f};
    const D2D1_MATRIX_3X2_F transform = LevelTransform(level.scaleX, level.scaleY);
    const D2D1_MATRIX_3X2_F identity = IdentityTransform();
    context->SetTarget(renderTarget);
    context->BeginDraw();
    context->Clear(&transparent);
    if (blurs.empty()) {
        context->SetTransform(&transform);
        context->DrawSvgDocument(document);
    } else {
        DrawElementsSeparately(context, document, root, blurs, device, level.width, level.height,
                               renderTarget, level.scaleX, level.scaleY);
    }
    const HRESULT drawn = context->EndDraw(nullptr, nullptr);
    context->SetTransform(&identity);
    context->SetTarget(nullptr);
    return SUCCEEDED(drawn);
}

}  // namespace

LevelAccess RenderSvgLevel(ID3D11Device* device, ID3D11DeviceContext* immediateContext,
                           ID2D1DeviceContext5* context, ID2D1SvgDocument* document,
                           ID2D1SvgElement* root, const std::vector<ElementBlur>& blurs,
                           const SvgLevel& level, RwRaster* raster) {
    LevelBitmap target;
    if (!CreateLevelBitmap(device, context, level.width, level.height,
                           D2D1_BITMAP_OPTIONS_TARGET | D2D1_BITMAP_OPTIONS_CANNOT_DRAW, target))
        return LevelAccess::NotFilled;
    if (!DrawLevel(device, context, document, root, blurs, level, target.bitmap.Get()))
        return LevelAccess::NotFilled;

    D3D11_TEXTURE2D_DESC stagingDesc = LevelTextureDesc(level.width, level.height);
    stagingDesc.Usage = D3D11_USAGE_STAGING;
    stagingDesc.BindFlags = 0;
    stagingDesc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    ComPtr<ID3D11Texture2D> staging;
    if (FAILED(device->CreateTexture2D(&stagingDesc, nullptr, staging.Put())))
        return LevelAccess::NotFilled;
    immediateContext->CopyResource(staging.Get(), target.texture.Get());

    D3D11_MAPPED_SUBRESOURCE mapped{};
    if (FAILED(immediateContext->Map(staging.Get(), 0, D3D11_MAP_READ, 0, &mapped)))
        return LevelAccess::NotFilled;
    LevelAccess copied = LevelAccess::NotFilled;
    if (mapped.pData && mapped.RowPitch >= RowBytes(level.width))
        copied =
            WithLockedLevel(raster, level.index, level.width, level.height, rwRASTERLOCKWRITE,
                            [&](const LockedLevel& locked) {
                                CopyRowsIntoLevel(locked, static_cast<const uint8_t*>(mapped.pData),
                                                  mapped.RowPitch);
                                return true;
                            });
    immediateContext->Unmap(staging.Get(), 0);
    return copied;
}
