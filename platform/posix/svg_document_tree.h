// The tree behind a substitute SVG document, shared by the document and its elements.
#pragma once

#include <pugixml.hpp>

#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "d2d1_svg.h"
#include "utf16_text.h"

namespace substitute {

class SvgElement;

struct SvgTree {
    pugi::xml_document xml;
    D2D1_SIZE_F viewport{};
    // Live element objects by node, so one node is always the same object while it is held.
    std::unordered_map<pugi::xml_node_struct*, SvgElement*> elements;
    // The renderer's parses of the last texts drawn, newest last: levels drawn from a tree in
    // a state drawn before (unchanged, or with the same element shown alone) reuse them
    // instead of parsing the same text again.
    mutable std::vector<std::pair<std::string, std::shared_ptr<void>>> renderedHandles;
};

// The document's element object for `node`, with a new reference, or null for no node.
ID2D1SvgElement* ElementOf(const std::shared_ptr<SvgTree>& tree, pugi::xml_node node);

// `filter` and `paint-order` taken out of a copy of the tree, as attributes and as
// style declarations, then the copy as text.
std::string SerializeForRendering(const pugi::xml_document& xml);

// The tree of one of this substitute's documents, or null.
const SvgTree* TreeOfDocument(ID2D1SvgDocument* document);

}  // namespace substitute
