#include "svg_document_load.h"

#include <limits>

namespace {

// The id as the document parser reads it: UTF-8 turned into UTF-16 by the system's one converter.
// Empty when it does not convert.
std::vector<WCHAR> WideId(const std::string& id) {
    const int units = MultiByteToWideChar(CP_UTF8, 0, id.c_str(), -1, nullptr, 0);
    std::vector<WCHAR> wide(units > 0 ? static_cast<size_t>(units) : 0);
    if (units <= 0 || MultiByteToWideChar(CP_UTF8, 0, id.c_str(), -1, wide.data(), units) != units)
        wide.clear();
    return wide;
}

}  // namespace

bool LoadSvgDocument(ID2D1DeviceContext5* context, const std::string& svgText, uint32_t width,
                     uint32_t height, LoadedSvgDocument& out) {
    if (svgText.size() > std::numeric_limits<UINT>::max()) return false;
    out.stream = ComPtr<IStream>::Adopt(SHCreateMemStream(
        reinterpret_cast<const BYTE*>(svgText.data()), static_cast<UINT>(svgText.size())));
    if (!out.stream) return false;
    const D2D1_SIZE_F viewport{static_cast<FLOAT>(width), static_cast<FLOAT>(height)};
    if (FAILED(context->CreateSvgDocument(out.stream.Get(), viewport, out.document.Put())))
        return false;
    out.document->GetRoot(out.root.Put());
    return static_cast<bool>(out.root);
}

std::vector<ElementBlur> ResolveElementBlurs(ID2D1SvgDocument* document,
                                             const std::vector<BlurTarget>& targets) {
    std::vector<ElementBlur> blurs;
    for (const BlurTarget& target : targets) {
        const std::vector<WCHAR> id = WideId(target.id);
        ComPtr<ID2D1SvgElement> element;
        if (!id.empty() && SUCCEEDED(document->FindElementById(id.data(), element.Put())) &&
            element)
            blurs.push_back({std::move(element), target.stdDeviation});
    }
    return blurs;
}
