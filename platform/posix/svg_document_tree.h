// The tree behind a substitute SVG document, shared by the document and its elements.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "d2d1_svg.h"
#include "utf16_text.h"

namespace substitute {

class SvgElement;

// A parse by the renderer of one text, with what it says of its own size.
struct KeptParse {
    std::string text;
    size_t textHash = 0;           // std::hash of `text`, compared first
    std::shared_ptr<void> handle;  // the renderer's handle, released with its own call
    double ownWidth = 0;           // both 0 when the root's size is not absolute
    double ownHeight = 0;
};

struct SvgTree {
    pugi::xml_document xml;
    D2D1_SIZE_F viewport{};
    // Live element objects by node, so one node is always the same object while it is held.
    std::unordered_map<pugi::xml_node_struct*, SvgElement*> elements;
    // Counts changes to `xml`, so the text drawn last serves again while the tree stands.
    uint64_t revision = 0;
    mutable uint64_t renderedRevision = 0;
    mutable std::string renderedText;  // empty until the first draw
    // The renderer's parses of the last texts drawn, newest last: levels drawn from a tree in
    // a state drawn before (unchanged, or with the same element shown alone) reuse them
    // instead of parsing the same text again.
    mutable std::vector<KeptParse> renderedHandles;
};

// The document's element object for `node`, with a new reference, or null for no node.
ID2D1SvgElement* ElementOf(const std::shared_ptr<SvgTree>& tree, pugi::xml_node node);

// `filter` and `paint-order` taken out of a copy of the tree, as attributes and as
// style declarations, then the copy as text.
std::string SerializeForRendering(const pugi::xml_document& xml);

// The tree of one of this substitute's documents, or null.
const SvgTree* TreeOfDocument(ID2D1SvgDocument* document);

}  // namespace substitute
