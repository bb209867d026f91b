#include "utf16_text.h"

#include <cstring>

namespace substitute {

char32_t NextUtf8CodePoint(const unsigned char*& at, const unsigned char* end, bool& valid) {
    unsigned char lead = *at++;
    valid = true;
    if (lead < 0x80) return lead;

    int continuations;
    unsigned char low = 0x80,
                  high = 0xBF;  // allowed range of the first continuation byte
    char32_t point;
    if (lead >= 0xC2 && lead <= 0xDF) {
        continuations = 1;
        point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        continuations = 2;
        point = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        continuations = 3;
        point = lead & 0x07;
        if (lead == 0xF0) low = 0x90;   // no overlong forms
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        valid = false;
        return kReplacementCharacter;
    }
    for (int i = 0; i < continuations; ++i) {
        if (at == end || *at < low || *at > high) {
            valid = false;
            return kReplacementCharacter;
        }
        point = (point << 6) | (*at++ & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return point;
}

std::u16string Utf16FromUtf8(const char* text) {
    std::u16string out;
    const auto* begin = reinterpret_cast<const unsigned char*>(text);
    ConvertUtf8(begin, begin + std::strlen(text), false,
                [&](char16_t unit) { out.push_back(unit); });
    return out;
}

bool Utf8FromUtf16(const WCHAR* text, std::string& out) {
    out.clear();
    for (const WCHAR* p = text; *p; ++p) {
        uint32_t c = *p;
        if (c >= 0xD800 && c < 0xDC00) {
            if (p[1] < 0xDC00 || p[1] >= 0xE000) return false;
            c = 0x10000 + ((c - 0xD800) << 10) + (p[1] - 0xDC00);
            ++p;
        } else if (c >= 0xDC00 && c < 0xE000) {
            return false;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return true;
}

}  // namespace substitute
