#include "paint_order.h"

#include <new>
#include <string_view>

#include "style_attribute.h"
#include "svg_source.h"

namespace {

constexpr std::string_view kShapeTagPrefixes[] = {"<path",    "<rect",    "<circle",  "<ellipse",
                                                  "<line",    "<polygon", "<polyline"};

bool IsBlankOrLineBreak(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool StartsWithName(std::string_view tagText, std::string_view prefix) {
    if (tagText.size() <= prefix.size() || tagText.substr(0, prefix.size()) != prefix)
        return false;
    const char next = tagText[prefix.size()];
    return IsBlankOrLineBreak(next) || next == '/' || next == '>';
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
    // prefix is "<name"; the end tag is "</name" followed by '>' or a blank.
    const std::string_view name = prefix.substr(1);
    if (tagText.size() < name.size() + 3 || tagText.substr(0, 2) != "</" ||
        tagText.substr(2, name.size()) != name)
        return false;
    const char next = tagText[2 + name.size()];
    return next == '>' || IsBlankOrLineBreak(next);
}

// Just past the end tag closing the element whose start tag ends right before `from`; npos
// when it is never closed. Same-named elements inside it are counted so a nested one does not
// close it early.
size_t FindElementEnd(const std::string& text, size_t from, std::string_view prefix) {
    size_t depth = 1;
    size_t position = from;
    for (;;) {
        const size_t open = text.find('<', position);
        if (open == std::string::npos) return std::string::npos;
        const size_t close = text.find('>', open);
        if (close == std::string::npos) return std::string::npos;
        const std::string_view tagText(text.data() + open, close - open + 1);
        if (IsEndTagOf(tagText, prefix)) {
            if (--depth == 0) return close + 1;
        } else if (StartsWithName(tagText, prefix) && !IsSelfClosing(tagText)) {
            ++depth;
        }
        position = close + 1;
    }
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
    if (!ReplaceStyleProperty(copy, "fill", "none") && !ReplaceAttributeValue(copy, "fill", "none"))
        copy.insert(prefix.size(), " fill=\"none\"");
    if (auto id = FindQuotedValue(copy, "id=\"", 0)) copy.insert(id->start + id->length, "_stroke");
    return copy;
}

std::string FillOnlyTag(std::string_view tagText) {
    std::string copy(tagText);
    if (!ReplaceStyleProperty(copy, "stroke", "none")) ReplaceAttributeValue(copy, "stroke", "none");
    return copy;
}

std::string WithPaintOrderSpelledOut(const std::string& svgText) {
    std::string output;
    output.reserve(svgText.size() + 4096);
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
            const size_t elementEnd = FindElementEnd(svgText, position, prefix);
            if (elementEnd == std::string::npos) {
                output.append(tagText);
                continue;
            }
            contentAndEndTag = std::string_view(svgText.data() + position, elementEnd - position);
            position = elementEnd;
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
