// In-place edits of one start tag's text: a declaration inside its inline style, or a plain
// attribute. Neither adds what is not already there; false leaves the tag unchanged.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "svg_source.h"

// Replaces the first "property:" declaration of the tag's style with "property:value".
bool ReplaceStyleProperty(std::string& tagText, std::string_view property, std::string_view value);

// Replaces the value of ` attribute="..."` (a blank right before the name).
bool ReplaceAttributeValue(std::string& tagText, std::string_view attribute,
                           std::string_view value);

// The value of the tag's attribute `name` however it is written: after any white space, with
// white space around "=", in double or single quotes. Absent when the tag has none, or when
// its attributes stop being well-formed before it. For the edits above, which find only one
// spelling, to check before they add a second attribute of the same name.
std::optional<QuotedValue> FindTagAttribute(std::string_view tagText, std::string_view name);
