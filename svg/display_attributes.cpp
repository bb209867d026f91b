#include "display_attributes.h"

#include "wide_text.h"

namespace {

constexpr UINT32 kDisplayValueUnits = 512;

}  // namespace

std::vector<SavedDisplay> HideAllExcept(const std::vector<ComPtr<ID2D1SvgElement>>& elements,
                                        size_t keptIndex) {
    std::vector<SavedDisplay> saved;
    for (size_t j = 0; j < elements.size(); ++j) {
        if (j == keptIndex) continue;
        ID2D1SvgElement* element = elements[j].Get();
        WCHAR value[kDisplayValueUnits] = {};
        const bool read = SUCCEEDED(element->GetAttributeValue(
            WIDE_LITERAL("display"), D2D1_SVG_ATTRIBUTE_STRING_TYPE_SVG, value, kDisplayValueUnits));
        if (read && SameWideText(value, WIDE_LITERAL("none"))) continue;

        element->SetAttributeValue(WIDE_LITERAL("display"), D2D1_SVG_ATTRIBUTE_STRING_TYPE_SVG,
                                   WIDE_LITERAL("none"));
        value[kDisplayValueUnits - 1] = 0;
        std::u16string kept;
        if (read)
            for (const WCHAR* c = value; *c; ++c) kept.push_back(static_cast<char16_t>(*c));
        saved.push_back({ComPtr<ID2D1SvgElement>::Retain(element), read, std::move(kept)});
    }
    return saved;
}

void RestoreDisplay(std::vector<SavedDisplay>& saved) {
    for (SavedDisplay& record : saved) {
        if (record.hadDisplay)
            record.element->SetAttributeValue(WIDE_LITERAL("display"),
                                              D2D1_SVG_ATTRIBUTE_STRING_TYPE_SVG,
                                              WideChars(record.displayValue.c_str()));
        else
            record.element->RemoveAttribute(WIDE_LITERAL("display"));
    }
    saved.clear();
}
