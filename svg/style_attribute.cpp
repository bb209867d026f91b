#include "style_attribute.h"

bool ReplaceStyleProperty(std::string& tagText, std::string_view property,
                          std::string_view value) {
    static constexpr std::string_view kStyle = "style=\"";
    const size_t styleAt = tagText.find(kStyle);
    if (styleAt == std::string::npos) return false;
    const size_t styleBegin = styleAt + kStyle.size();
    if (styleBegin >= tagText.size()) return false;
    const size_t styleEnd = tagText.find('"', styleBegin);
    if (styleEnd == std::string::npos) return false;

    std::string style = tagText.substr(styleBegin, styleEnd - styleBegin);
    std::string key(property);
    key += ':';
    const size_t keyAt = style.find(key);
    if (keyAt == std::string::npos) return false;
    size_t declarationEnd = style.find(';', keyAt);
    if (declarationEnd == std::string::npos) declarationEnd = style.size();

    key.append(value);
    style.replace(keyAt, declarationEnd - keyAt, key);
    tagText.replace(styleBegin, styleEnd - styleBegin, style);
    return true;
}

bool ReplaceAttributeValue(std::string& tagText, std::string_view attribute,
                           std::string_view value) {
    std::string key = " ";
    key.append(attribute);
    key += "=\"";
    const size_t keyAt = tagText.find(key);
    if (keyAt == std::string::npos) return false;
    const size_t valueBegin = keyAt + key.size();
    if (valueBegin >= tagText.size()) return false;
    const size_t valueEnd = tagText.find('"', valueBegin);
    if (valueEnd == std::string::npos) return false;
    tagText.replace(valueBegin, valueEnd - valueBegin, value);
    return true;
}

std::optional<QuotedValue> FindTagAttribute(std::string_view tagText, std::string_view name) {
    const size_t size = tagText.size();
    const auto skipSpace = [&](size_t p) {
        while (p < size && IsTagSpace(tagText[p])) ++p;
        return p;
    };
    size_t p = 1;  // past "<", then the tag's own name
    while (p < size && !IsTagSpace(tagText[p]) && tagText[p] != '/' && tagText[p] != '>') ++p;
    for (;;) {
        p = skipSpace(p);
        const size_t nameBegin = p;
        while (p < size && !IsTagSpace(tagText[p]) && tagText[p] != '=' && tagText[p] != '/' &&
               tagText[p] != '>')
            ++p;
        if (p == nameBegin) return std::nullopt;
        const std::string_view attribute = tagText.substr(nameBegin, p - nameBegin);
        p = skipSpace(p);
        if (p >= size || tagText[p] != '=') return std::nullopt;
        p = skipSpace(p + 1);
        if (p >= size || (tagText[p] != '"' && tagText[p] != '\'')) return std::nullopt;
        const size_t valueEnd = tagText.find(tagText[p], p + 1);
        if (valueEnd == std::string_view::npos) return std::nullopt;
        if (attribute == name) return QuotedValue{p + 1, valueEnd - p - 1};
        p = valueEnd + 1;
    }
}
