// Hiding every drawable element but one through its "display" attribute, and undoing it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "../platform/platform.h"

// What one element's "display" held before it was hidden.
struct SavedDisplay {
    ComPtr<ID2D1SvgElement> element;
    bool hadDisplay;              // the attribute could be read, so it is put back, not removed
    std::u16string displayValue;  // its value then, at most 511 code units
};

// Sets display="none" on every element except `keptIndex` that is not already hidden.
// Failed writes are ignored: such an element is drawn along with the kept one.
std::vector<SavedDisplay> HideAllExcept(const std::vector<ComPtr<ID2D1SvgElement>>& elements,
                                        size_t keptIndex);

// Puts each element's "display" back as it was, in order.
void RestoreDisplay(std::vector<SavedDisplay>& saved);
