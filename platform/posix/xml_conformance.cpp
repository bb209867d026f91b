#include "xml_conformance.h"

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace substitute {
namespace {

// The declared entities, and how many bytes their references have added so far: a document
// of a few entities that nest cannot grow without bound.
struct Entities {
    std::map<std::string, std::string> values;
    size_t expanded = 0;
};

constexpr size_t kMaxExpandedBytes = size_t{16} << 20;

bool IsXmlChar(unsigned long c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

void AppendUtf8(unsigned long c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// One character reference's value (the text between "&#" and ";"), or 0 when malformed.
unsigned long CharacterReference(const std::string& digits) {
    const bool hex = !digits.empty() && digits[0] == 'x';
    size_t from = hex ? 1 : 0;
    if (digits.size() <= from) return 0;
    while (from + 1 < digits.size() && digits[from] == '0') ++from;
    if (digits.size() - from > 8) return 0;
    unsigned long value = 0;
    for (size_t i = from; i < digits.size(); ++i) {
        const char c = digits[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (hex && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (hex && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return 0;
        value = value * (hex ? 16 : 10) + digit;
    }
    return value;
}

// `text` with its references replaced; false for a reference XML refuses.
bool Decode(const char* text, Entities& entities, std::string& out) {
    static const std::map<std::string, std::string> predefined = {
        {"lt", "<"}, {"gt", ">"}, {"amp", "&"}, {"apos", "'"}, {"quot", "\""}};
    out.clear();
    for (const char* p = text; *p; ++p) {
        if (*p != '&') {
            out += *p;
            continue;
        }
        const char* end = std::strchr(p + 1, ';');
        if (!end || end == p + 1) return false;
        const std::string name(p + 1, end);
        if (name[0] == '#') {
            const unsigned long c = CharacterReference(name.substr(1));
            if (!IsXmlChar(c)) return false;
            AppendUtf8(c, out);
        } else if (auto found = predefined.find(name); found != predefined.end()) {
            out += found->second;
        } else if (auto declared = entities.values.find(name); declared != entities.values.end()) {
            entities.expanded += declared->second.size();
            if (entities.expanded > kMaxExpandedBytes) return false;
            out += declared->second;
        } else {
            return false;
        }
        p = end;
    }
    return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The internal general entities of a document type declaration, each with its replacement
// text decoded by the entities declared before it. Parameter and external entities are not
// entered, so a reference to one is refused. False for a replacement text that is not
// well-formed here.
bool DeclaredEntities(const pugi::xml_document& xml, Entities& entities) {
    for (pugi::xml_node node = xml.first_child(); node; node = node.next_sibling()) {
        if (node.type() != pugi::node_doctype) continue;
        const std::string declaration = node.value();
        for (size_t at = declaration.find("<!ENTITY"); at != std::string::npos;
             at = declaration.find("<!ENTITY", at + 1)) {
            size_t p = at + 8;
            while (p < declaration.size() && IsBlank(declaration[p])) ++p;
            if (p < declaration.size() && declaration[p] == '%') continue;
            const size_t nameStart = p;
            while (p < declaration.size() && !IsBlank(declaration[p]) && declaration[p] != '>')
                ++p;
            const std::string name = declaration.substr(nameStart, p - nameStart);
            while (p < declaration.size() && IsBlank(declaration[p])) ++p;
            if (name.empty() || p >= declaration.size()) continue;
            const char quote = declaration[p];
            if (quote != '"' && quote != '\'') continue;  // SYSTEM or PUBLIC: external
            const size_t close = declaration.find(quote, p + 1);
            if (close == std::string::npos) return false;
            std::string value;
            if (!Decode(declaration.substr(p + 1, close - p - 1).c_str(), entities, value))
                return false;
            // A replacement holding markup would have to be parsed as markup.
            if (value.find('<') != std::string::npos) return false;
            entities.values.emplace(name, std::move(value));  // the first declaration binds
        }
    }
    return true;
}

// A qualified name split at its colon; false for an empty part or a second colon.
bool SplitName(const char* name, std::string& prefix, std::string& local) {
    const char* colon = std::strchr(name, ':');
    if (!colon) {
        prefix.clear();
        local = name;
        return !local.empty();
    }
    prefix.assign(name, colon);
    local = colon + 1;
    return !prefix.empty() && !local.empty() && local.find(':') == std::string::npos;
}

// The namespace declarations in scope, innermost last, each with the depth of its element.
struct Binding {
    size_t depth;
    std::string prefix;  // empty for the default namespace
    std::string uri;
};

// The namespace `prefix` is bound to ("" for no prefix and no default), or false when a
// prefix is bound nowhere in scope.
bool NamespaceOf(const std::vector<Binding>& scope, const std::string& prefix, std::string& uri) {
    static const char kXmlNamespace[] = "http://www.w3.org/XML/1998/namespace";
    if (prefix == "xml") {
        uri = kXmlNamespace;
        return true;
    }
    for (auto binding = scope.rbegin(); binding != scope.rend(); ++binding) {
        if (binding->prefix == prefix) {
            uri = binding->uri;
            return true;
        }
    }
    uri.clear();
    return prefix.empty();
}

// Decodes the element's attributes, enters its declarations into `scope` and checks its
// names against them.
bool CheckElement(pugi::xml_node element, size_t depth, Entities& entities,
                  std::vector<Binding>& scope) {
    std::string decoded, prefix, local, uri;
    for (pugi::xml_attribute attribute : element.attributes()) {
        if (std::strchr(attribute.value(), '<')) return false;
        if (!Decode(attribute.value(), entities, decoded)) return false;
        attribute.set_value(decoded.c_str());
        if (!SplitName(attribute.name(), prefix, local)) return false;
        if (prefix == "xmlns") {
            if (*attribute.value() == '\0') return false;  // a prefix cannot be unbound
            scope.push_back({depth, local, attribute.value()});
        } else if (prefix.empty() && local == "xmlns") {
            scope.push_back({depth, "", attribute.value()});
        }
    }
    // Names by namespace and local part; declarations by their own names.
    std::set<std::pair<std::string, std::string>> seen;
    for (pugi::xml_attribute attribute : element.attributes()) {
        SplitName(attribute.name(), prefix, local);
        if (prefix == "xmlns")
            uri = "xmlns:";
        else if (prefix.empty())
            uri = local == "xmlns" ? "xmlns" : "";
        else if (!NamespaceOf(scope, prefix, uri))
            return false;
        if (!seen.emplace(uri, local).second) return false;
    }
    if (!SplitName(element.name(), prefix, local) || prefix == "xmlns") return false;
    return NamespaceOf(scope, prefix, uri);
}

}  // namespace

bool CheckAndDecodeXml(pugi::xml_document& xml) {
    Entities entities;
    if (!DeclaredEntities(xml, entities)) return false;
    std::string decoded;
    std::vector<Binding> scope;
    // Document order without recursion, so a deep tree cannot exhaust the stack; `depth`
    // tells which declarations are still in scope.
    pugi::xml_node node = xml.first_child();
    size_t depth = 0;
    while (node) {
        while (!scope.empty() && scope.back().depth >= depth) scope.pop_back();
        if (node.type() == pugi::node_element) {
            if (!CheckElement(node, depth, entities, scope)) return false;
        } else if (node.type() == pugi::node_pcdata) {
            if (!Decode(node.value(), entities, decoded)) return false;
            node.set_value(decoded.c_str());
        }
        if (node.first_child()) {
            node = node.first_child();
            ++depth;
            continue;
        }
        while (node && !node.next_sibling()) {
            node = node.parent();
            --depth;
        }
        if (node) node = node.next_sibling();
    }
    // Its entities are decoded now; the renderer gets the tree as if none had been declared.
    while (pugi::xml_node doctype = xml.find_child([](pugi::xml_node n) {
               return n.type() == pugi::node_doctype;
           }))
        xml.remove_child(doctype);
    return true;
}

}  // namespace substitute
