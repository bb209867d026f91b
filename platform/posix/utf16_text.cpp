#include "utf16_text.h"

#include <cstring>

namespace substitute {
namespace {

// Windows-1252 bytes 0x80..0x9F.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

char16_t Cp1252Unit(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? kCp1252High[byte - 0x80] : char16_t(byte);
}

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

}  // namespace substitute
