#include "drawable_elements.h"

#include "wide_text.h"

namespace {

constexpr UINT32 kTagNameUnits = 128;

// One open group of the walk: the group and the child to visit next.
struct OpenGroup {
    ComPtr<ID2D1SvgElement> group;
    ComPtr<ID2D1SvgElement> nextChild;
};

ComPtr<ID2D1SvgElement> FirstChild(ID2D1SvgElement* element) {
    ComPtr<ID2D1SvgElement> child;
    if (element->HasChildren()) element->GetFirstChild(child.Put());
    return child;
}

}  // namespace

// Walked with an explicit stack, so deeply nested groups cannot exhaust the call stack.
void CollectDrawableElements(ID2D1SvgElement* element,
                             std::vector<ComPtr<ID2D1SvgElement>>& drawable) {
    std::vector<OpenGroup> open;
    open.push_back({ComPtr<ID2D1SvgElement>::Retain(element), FirstChild(element)});
    while (!open.empty()) {
        if (!open.back().nextChild) {
            open.pop_back();
            continue;
        }
        ComPtr<ID2D1SvgElement> child = std::move(open.back().nextChild);
        if (FAILED(open.back().group->GetNextChild(child.Get(), open.back().nextChild.Put())))
            open.back().nextChild.Reset();

        // A name that does not fit leaves the buffer empty: listed like any other element.
        WCHAR name[kTagNameUnits] = {};
        child->GetTagName(name, kTagNameUnits);
        name[kTagNameUnits - 1] = 0;
        if (SameWideText(name, WIDE_LITERAL("g"))) {
            ComPtr<ID2D1SvgElement> first = FirstChild(child.Get());
            open.push_back({std::move(child), std::move(first)});
        } else if (!SameWideText(name, WIDE_LITERAL("defs"))) {
            drawable.push_back(std::move(child));
        }
    }
}
