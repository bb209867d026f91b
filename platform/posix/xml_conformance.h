// The checks a conforming XML parser (with namespaces) makes and pugixml leaves out.
#pragma once

#include <pugixml.hpp>

namespace substitute {

// The flags to parse with before CheckAndDecodeXml: references are left for it to decode, and
// the document type declaration is kept for the entities it declares.
constexpr unsigned kConformingParseFlags =
    (pugi::parse_default & ~pugi::parse_escapes) | pugi::parse_doctype;

// Refuses a document with an attribute given twice (also under two prefixes bound to one
// namespace), a prefix that no declaration in scope binds, a malformed name, a "<" in an
// attribute value, or a reference that is malformed, names a character XML does not allow or
// an entity the document does not declare. Decodes every reference in attribute values and
// text in place, then drops the declaration. False leaves the tree partly decoded.
bool CheckAndDecodeXml(pugi::xml_document& xml);

}  // namespace substitute
