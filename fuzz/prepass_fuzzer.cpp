// Feeds arbitrary bytes through the SVG text pre-pass in the order the loader runs it, plus
// the root-size parser and the tag edits, and traps on results that break their promises.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "svg/blur_filters.h"
#include "svg/paint_order.h"
#include "svg/style_attribute.h"
#include "svg/svg_source.h"

namespace {

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

void CheckRootSize(const std::string& text) {
    uint32_t width = 7;
    uint32_t height = 7;
    ParseSvgRootSize(text, width, height);
    if (text.find("<svg") == std::string::npos) Require(width == 0 && height == 0);
    const float length = ParseSvgLength(text);
    Require(!std::isnan(length) && length >= 0);
    if (auto value = FindQuotedValue(text, "id=\"", text.size() / 2))
        Require(value->start + value->length < text.size() && text[value->start + value->length] == '"');
}

void CheckTagEdits(const std::string& text) {
    std::string style = text;
    if (!ReplaceStyleProperty(style, "fill", "none")) Require(style == text);
    std::string attribute = text;
    if (!ReplaceAttributeValue(attribute, "stroke", "none")) Require(attribute == text);
}

void CheckPrePass(std::string text) {
    const std::string input = text;
    EmulatePaintOrder(text);
    // A split may come out shorter than the tag it replaces (a style value that runs over
    // the other property's name is cut in both copies), so only the untouched case is exact.
    if (input.find("paint-order") == std::string::npos) Require(text == input);

    const std::string afterPaintOrder = text;
    const std::vector<BlurTarget> targets = ExtractBlurFilters(text);
    if (afterPaintOrder.find("</filter>") == std::string::npos) {
        Require(targets.empty());
        Require(text == afterPaintOrder);
    }
    Require(text.size() >= afterPaintOrder.size());
    for (const BlurTarget& target : targets) Require(!target.id.empty() && target.stdDeviation > 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckRootSize(text);
    CheckTagEdits(text);
    CheckPrePass(text);
    return 0;
}
