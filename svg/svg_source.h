// The quoted-value lookup and length parser the text pre-pass shares, and the output size a
// document's root tag asks for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The white space XML allows between a tag's name and its attributes.
inline bool IsTagSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

struct QuotedValue {
    size_t start;   // first byte after the key
    size_t length;  // bytes up to the closing quote
};

// The value after the first `key` (ending in "=\"") at or after `from`, up to the next
// double quote. Absent when the key or the closing quote is missing.
std::optional<QuotedValue> FindQuotedValue(std::string_view text, std::string_view key,
                                           size_t from);

// A length in pixels with absolute units applied; 0 for anything not a positive number.
float ParseSvgLength(std::string_view value);

// Both sides 0 when the text has no root tag; otherwise the size in whole pixels.
void ParseSvgRootSize(const std::string& svgText, uint32_t& width, uint32_t& height);

// True when the root tag has a valid viewBox: without one a document is drawn at its own
// size, not scaled to the size a load asks for.
bool SvgRootHasViewBox(const std::string& svgText);
