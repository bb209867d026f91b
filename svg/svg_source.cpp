#include "svg_source.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

std::optional<QuotedValue> FindQuotedValue(std::string_view text, std::string_view key,
                                           size_t from) {
    const size_t keyAt = text.find(key, from);
    if (keyAt == std::string_view::npos) return std::nullopt;
    const size_t start = keyAt + key.size();
    if (start >= text.size()) return std::nullopt;
    const size_t quote = text.find('"', start);
    if (quote == std::string_view::npos) return std::nullopt;
    return QuotedValue{start, quote - start};
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNumberByte(char c) { return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+'; }

bool EndsUnit(char c) { return c == ' ' || c == ';' || c == '"' || c == '\''; }

float UnitFactor(std::string_view unit) {
    if (unit == "mm") return 3.7795277f;
    if (unit == "cm") return 37.795277f;
    if (unit == "in") return 96.0f;
    if (unit == "pt") return 1.3333334f;
    if (unit == "pc") return 16.0f;
    return 1.0f;
}

// The largest float below 2^32: the ceiling of anything above it has no 32-bit side, and
// such a side is refused (0) rather than wrapped.
constexpr float kLargestSide = 4294967040.0f;

uint32_t CeilToSide(float side) {
    if (!(side <= kLargestSide)) return 0;
    return static_cast<uint32_t>(std::ceil(side));
}

// The first "<svg" through the next ">", wherever it stands, even inside a comment.
std::optional<std::string_view> RootTag(const std::string& svgText) {
    if (svgText.size() < 4) return std::nullopt;
    const size_t open = svgText.find("<svg");
    if (open == std::string::npos) return std::nullopt;
    const size_t close = svgText.find('>', open);
    if (close == std::string::npos) return std::nullopt;
    return std::string_view(svgText.data() + open, close - open + 1);
}

// True for four numbers, blank- or comma-separated, whose width and height are positive.
bool ParseRootViewBox(std::string_view rootTag, float& viewBoxWidth, float& viewBoxHeight) {
    const auto value = FindQuotedValue(rootTag, "viewBox=\"", 0);
    if (!value) return false;
    std::string numbers(rootTag.substr(value->start, value->length));
    for (char& c : numbers)
        if (c == ',') c = ' ';
    float minX = 0.0f;
    float minY = 0.0f;
    return std::sscanf(numbers.c_str(), "%f %f %f %f", &minX, &minY, &viewBoxWidth,
                       &viewBoxHeight) == 4 &&
           viewBoxWidth > 0 && viewBoxHeight > 0 && std::isfinite(viewBoxWidth) &&
           std::isfinite(viewBoxHeight);
}

}  // namespace

bool SvgRootHasViewBox(const std::string& svgText) {
    const std::optional<std::string_view> root = RootTag(svgText);
    float viewBoxWidth = 0.0f;
    float viewBoxHeight = 0.0f;
    return root && ParseRootViewBox(*root, viewBoxWidth, viewBoxHeight);
}

float ParseSvgLength(std::string_view value) {
    size_t begin = 0;
    while (begin < value.size() && IsBlank(value[begin])) ++begin;
    // atof needs a terminated string; the value is a slice of a larger text.
    const std::string number(value.substr(begin));
    const double parsed = std::atof(number.c_str());
    if (!(parsed > 0)) return 0.0f;
    // Beyond float range the length is too large for any side rather than missing.
    const float x = parsed > std::numeric_limits<float>::max()
                        ? std::numeric_limits<float>::infinity()
                        : static_cast<float>(parsed);

    size_t unitBegin = 0;
    while (unitBegin < number.size() && IsNumberByte(number[unitBegin])) ++unitBegin;
    size_t unitEnd = unitBegin;
    while (unitEnd < number.size() && !EndsUnit(number[unitEnd])) ++unitEnd;
    const std::string_view unit(number.data() + unitBegin, unitEnd - unitBegin);

    return x * UnitFactor(unit);
}

void ParseSvgRootSize(const std::string& svgText, uint32_t& width, uint32_t& height) {
    width = 0;
    height = 0;
    const std::optional<std::string_view> root = RootTag(svgText);
    if (!root) return;
    const std::string_view rootTag = *root;

    float w = 0.0f;
    float h = 0.0f;
    if (auto value = FindQuotedValue(rootTag, "width=\"", 0))
        w = ParseSvgLength(rootTag.substr(value->start, value->length));
    if (auto value = FindQuotedValue(rootTag, "height=\"", 0))
        h = ParseSvgLength(rootTag.substr(value->start, value->length));

    float viewBoxWidth = 0.0f;
    float viewBoxHeight = 0.0f;
    const bool viewBoxValid = ParseRootViewBox(rootTag, viewBoxWidth, viewBoxHeight);
    if (viewBoxValid) {
        if (!(w > 0) && !(h > 0)) {
            w = viewBoxWidth;
            h = viewBoxHeight;
        } else if (!(h > 0)) {
            h = w * viewBoxHeight / viewBoxWidth;
        } else if (!(w > 0)) {
            w = h * viewBoxWidth / viewBoxHeight;
        }
    } else {
        if (w > 0 && !(h > 0)) h = w;
        if (h > 0 && !(w > 0)) w = h;
    }
    if (!(w > 0)) w = 512.0f;
    if (!(h > 0)) h = 512.0f;

    width = CeilToSide(w);
    height = CeilToSide(h);
}
