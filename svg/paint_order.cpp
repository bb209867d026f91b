#include "paint_order.h"

#include <iterator>
#include <new>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "style_attribute.h"
#include "svg_source.h"

namespace {

constexpr std::string_view kShapeTagPrefixes[] = {"<path",    "<rect",    "<circle",  "<ellipse",
                                                  "<line",    "<polygon", "<polyline"};

bool StartsWithName(std::string_view tagText, std::string_view prefix) {
    if (tagText.size() <= prefix.size() || tagText.substr(0, prefix.size()) != prefix)
        return false;
    const char next = tagText[prefix.size()];
    return IsTagSpace(next) || next == '/' || next == '>';
}

// The shape prefix the tag starts with, or an empty view.
std::string_view ShapePrefixOf(std::string_view tagText) {
    for (std::string_view prefix : kShapeTagPrefixes)
        if (StartsWithName(tagText, prefix)) return prefix;
    return {};
}

bool IsSelfClosing(std::string_view tagText) {
    return tagText.size() >= 2 && tagText[tagText.size() - 2] == '/';
}

bool IsEndTagOf(std::string_view tagText, std::string_view prefix) {
    // prefix is "<name"; the end tag is "</name" followed by '>' or white space.
    const std::string_view name = prefix.substr(1);
    if (tagText.size() < name.size() + 3 || tagText.substr(0, 2) != "</" ||
        tagText.substr(2, name.size()) != name)
        return false;
    const char next = tagText[2 + name.size()];
    return next == '>' || IsTagSpace(next);
}

// For every shape start tag with content: the position just past it mapped to the position
// just past its end tag. Same-named elements pair like brackets, so a nested one does not
// close the outer one early; one walk serves every split, however many shapes stay unclosed.
using ElementEnds = std::unordered_map<size_t, size_t>;

ElementEnds PairShapeEndTags(const std::string& text) {
    ElementEnds ends;
    std::vector<size_t> open[std::size(kShapeTagPrefixes)];
    size_t position = 0;
    for (;;) {
        const size_t begin = text.find('<', position);
        if (begin == std::string::npos) break;
        const size_t close = text.find('>', begin);
        if (close == std::string::npos) break;
        const std::string_view tagText(text.data() + begin, close - begin + 1);
        position = close + 1;
        for (size_t shape = 0; shape < std::size(kShapeTagPrefixes); ++shape) {
            const std::string_view prefix = kShapeTagPrefixes[shape];
            if (IsEndTagOf(tagText, prefix)) {
                if (!open[shape].empty()) {
                    ends.emplace(open[shape].back(), position);
                    open[shape].pop_back();
                }
                break;
            }
            if (StartsWithName(tagText, prefix)) {
                if (!IsSelfClosing(tagText)) open[shape].push_back(position);
                break;
            }
        }
    }
    return ends;
}

bool AsksStrokeBeforeFill(std::string_view tagText) {
    const size_t property = tagText.find("paint-order");
    if (property == std::string_view::npos) return false;
    const size_t separator = tagText.find_first_of("=:", property);
    if (separator == std::string_view::npos) return false;
    size_t valueBegin = separator + 1;
    while (valueBegin < tagText.size() &&
           (tagText[valueBegin] == ' ' || tagText[valueBegin] == '"' ||
            tagText[valueBegin] == '\''))
        ++valueBegin;
    const size_t valueEnd = tagText.find_first_of("\";>", valueBegin);
    if (valueEnd == std::string_view::npos) return false;
    const std::string_view value = tagText.substr(valueBegin, valueEnd - valueBegin);
    const size_t stroke = value.find("stroke");
    const size_t fill = value.find("fill");
    return stroke != std::string_view::npos && fill != std::string_view::npos && stroke < fill;
}

std::string StrokeOnlyTag(std::string_view tagText, std::string_view prefix) {
    std::string copy(tagText);
    if (!ReplaceStyleProperty(copy, "fill", "none") && !ReplaceAttributeValue(copy, "fill", "none")) {
        // A fill written fill='...' or after a tab or line break is still there: a second one
        // would make the document invalid XML.
        if (auto fill = FindTagAttribute(copy, "fill"))
            copy.replace(fill->start, fill->length, "none");
        else
            copy.insert(prefix.size(), " fill=\"none\"");
    }
    // An id in single quotes is renamed too, so the fill copy stays the only one with it.
    std::optional<QuotedValue> id = FindQuotedValue(copy, "id=\"", 0);
    if (!id) id = FindTagAttribute(copy, "id");
    if (id) copy.insert(id->start + id->length, "_stroke");
    return copy;
}

std::string FillOnlyTag(std::string_view tagText) {
    std::string copy(tagText);
    if (!ReplaceStyleProperty(copy, "stroke", "none") &&
        !ReplaceAttributeValue(copy, "stroke", "none")) {
        // Otherwise a stroke written stroke='...' would be painted again over the fill.
        if (auto stroke = FindTagAttribute(copy, "stroke"))
            copy.replace(stroke->start, stroke->length, "none");
    }
    return copy;
}

std::string WithPaintOrderSpelledOut(const std::string& svgText) {
    std::string output;
    output.reserve(svgText.size() + 4096);
    std::optional<ElementEnds> elementEnds;
    size_t position = 0;
    while (position < svgText.size()) {
        const size_t open = svgText.find('<', position);
        if (open == std::string::npos) {
            output.append(svgText, position, std::string::npos);
            break;
        }
        output.append(svgText, position, open - position);
        const size_t close = svgText.find('>', open);
        if (close == std::string::npos) {
            output.append(svgText, open, std::string::npos);
            break;
        }
        const std::string_view tagText(svgText.data() + open, close - open + 1);
        position = close + 1;

        const std::string_view prefix = ShapePrefixOf(tagText);
        if (prefix.empty() || !AsksStrokeBeforeFill(tagText)) {
            output.append(tagText);
            continue;
        }
        // A shape with content is doubled as a whole element, so the copies still nest.
        std::string_view contentAndEndTag;
        if (!IsSelfClosing(tagText)) {
            if (!elementEnds) elementEnds = PairShapeEndTags(svgText);
            const auto end = elementEnds->find(position);
            if (end == elementEnds->end()) {
                output.append(tagText);
                continue;
            }
            contentAndEndTag = std::string_view(svgText.data() + position, end->second - position);
            position = end->second;
        }
        output += StrokeOnlyTag(tagText, prefix);
        output.append(contentAndEndTag);
        output += FillOnlyTag(tagText);
        output.append(contentAndEndTag);
    }
    return output;
}

}  // namespace

void EmulatePaintOrder(std::string& svgText) {
    try {
        svgText = WithPaintOrderSpelledOut(svgText);
    } catch (const std::bad_alloc&) {
        // Without room for the rewritten text the document is drawn in its own paint order.
    }
}
