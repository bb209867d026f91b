#include "element_pass.h"

#include "display_attributes.h"
#include "drawable_elements.h"
#include "element_blur_pass.h"
#include "level_bitmap.h"

namespace {

// The first entry for the same element object decides; 0 means not blurred.
float BlurDeviationOf(ID2D1SvgElement* element, const std::vector<ElementBlur>& blurs) {
    for (const ElementBlur& blur : blurs)
        if (blur.element.Get() == element) return blur.stdDeviation;
    return 0.0f;
}

}  // namespace

void DrawElementsSeparately(ID2D1DeviceContext5* context, ID2D1SvgDocument* document,
                            ID2D1SvgElement* root, const std::vector<ElementBlur>& blurs,
                            ID3D11Device* device, uint32_t width, uint32_t height,
                            ID2D1Bitmap1* renderTarget, float scaleX, float scaleY) {
    const D2D1_MATRIX_3X2_F level = LevelTransform(scaleX, scaleY);
    std::vector<ComPtr<ID2D1SvgElement>> drawable;
    CollectDrawableElements(root, drawable);
    if (drawable.empty()) {
        context->SetTransform(&level);
        context->DrawSvgDocument(document);
        return;
    }

    for (size_t i = 0; i < drawable.size(); ++i) {
        std::vector<SavedDisplay> saved = HideAllExcept(drawable, i);
        const float deviation = BlurDeviationOf(drawable[i].Get(), blurs);
        if (deviation > 0.0f) {
            // An element whose scratch objects cannot be had is missing from this level.
            DrawBlurredDocument(context, document, device, width, height, renderTarget, scaleX,
                                scaleY, deviation);
        } else {
            context->SetTarget(renderTarget);
            context->SetTransform(&level);
            context->DrawSvgDocument(document);
        }
        // Direct2D may run a draw as late as EndDraw: it has to run while only this element
        // shows. A failure is EndDraw's to report.
        context->Flush(nullptr, nullptr);
        RestoreDisplay(saved);
    }
}
