#include "element_blur_pass.h"

#include "level_bitmap.h"

float LevelBlurDeviation(float stdDeviation, float scaleX) { return stdDeviation * scaleX * 4.0f; }

bool DrawBlurredDocument(ID2D1DeviceContext5* context, ID2D1SvgDocument* document,
                         ID3D11Device* device, uint32_t width, uint32_t height,
                         ID2D1Bitmap1* renderTarget, float scaleX, float scaleY,
                         float stdDeviation) {
    // TARGET alone: the effect has to read what was drawn into it.
    LevelBitmap scratch;
    if (!CreateLevelBitmap(device, context, width, height, D2D1_BITMAP_OPTIONS_TARGET, scratch))
        return false;

    const D2D1_MATRIX_3X2_F level = LevelTransform(scaleX, scaleY);
    const D2D1_MATRIX_3X2_F identity = IdentityTransform();
    const D2D1_COLOR_F transparent{0.0f, 0.0f, 0.0f, 0.0f};
    context->SetTarget(scratch.bitmap.Get());
    context->SetTransform(&level);
    context->Clear(&transparent);
    context->DrawSvgDocument(document);
    context->SetTarget(renderTarget);
    context->SetTransform(&identity);

    ComPtr<ID2D1Effect> blur;
    if (FAILED(context->CreateEffect(CLSID_D2D1GaussianBlur, blur.Put()))) return false;
    blur->SetInput(0, scratch.bitmap.Get(), TRUE);
    const FLOAT deviation = LevelBlurDeviation(stdDeviation, scaleX);
    const UINT32 borderMode = D2D1_BORDER_MODE_SOFT;
    blur->SetValue(static_cast<UINT32>(D2D1_GAUSSIANBLUR_PROP_STANDARD_DEVIATION),
                   D2D1_PROPERTY_TYPE_UNKNOWN, reinterpret_cast<const BYTE*>(&deviation),
                   sizeof(deviation));
    blur->SetValue(static_cast<UINT32>(D2D1_GAUSSIANBLUR_PROP_BORDER_MODE),
                   D2D1_PROPERTY_TYPE_UNKNOWN, reinterpret_cast<const BYTE*>(&borderMode),
                   sizeof(borderMode));

    ComPtr<ID2D1Image> output;
    blur->GetOutput(output.Put());
    if (output)
        context->DrawImage(output.Get(), nullptr, nullptr, D2D1_INTERPOLATION_MODE_LINEAR,
                           D2D1_COMPOSITE_MODE_SOURCE_OVER);
    return true;
}
