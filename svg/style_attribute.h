// In-place edits of one start tag's text: a declaration inside its inline style, or a plain
// attribute. Neither adds what is not already there; false leaves the tag unchanged.
#pragma once

#include <string>
#include <string_view>

// Replaces the first "property:" declaration of the tag's style with "property:value".
bool ReplaceStyleProperty(std::string& tagText, std::string_view property, std::string_view value);

// Replaces the value of ` attribute="..."` (a blank right before the name).
bool ReplaceAttributeValue(std::string& tagText, std::string_view attribute,
                           std::string_view value);
