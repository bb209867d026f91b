// The elements a level is drawn one by one from, in document order.
#pragma once

#include <vector>

#include "../platform/platform.h"

// Appends the children of `element` in document order: "defs" subtrees are skipped, "g"
// groups are descended into and not listed, anything else is listed with its subtree.
void CollectDrawableElements(ID2D1SvgElement* element,
                             std::vector<ComPtr<ID2D1SvgElement>>& drawable);
