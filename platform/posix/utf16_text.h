// UTF-8 and UTF-16 inside the substitute, where Windows strings meet POSIX and
// XML ones.
#pragma once

#include <string>

#include "../utf8_from_utf16.h"
#include "win_types.h"

namespace substitute {

inline constexpr char16_t kReplacementCharacter = 0xFFFD;

// The next UTF-8 sequence at `at` (before `end`) as a code point, `at` moved past it, with Windows'
// rules: an ill-formed sequence yields U+FFFD for its longest well-formed prefix (at least one
// byte) and `valid` false. MultiByteToWideChar and every other conversion of the substitute decode
// through here.
char32_t NextUtf8CodePoint(const unsigned char*& at, const unsigned char* end, bool& valid);

// Converts the whole source, handing each UTF-16 unit to `emit`; false on an ill-formed sequence
// when `strict`.
template <class Emit>
bool ConvertUtf8(const unsigned char* at, const unsigned char* end, bool strict, Emit emit) {
    while (at < end) {
        bool valid;
        char32_t point = NextUtf8CodePoint(at, end, valid);
        if (!valid && strict) return false;
        if (point >= 0x10000) {
            point -= 0x10000;
            emit(static_cast<char16_t>(0xD800 + (point >> 10)));
            emit(static_cast<char16_t>(0xDC00 + (point & 0x3FF)));
        } else {
            emit(static_cast<char16_t>(point));
        }
    }
    return true;
}

// The substitute's ANSI code page, Windows-1252: the UTF-16 unit of one byte. The five bytes the
// page leaves undefined map to the C1 controls of the same value, as Windows maps them.
char16_t Cp1252Unit(unsigned char byte);

// Ill-formed sequences become U+FFFD, as MultiByteToWideChar without flags makes them.
std::u16string Utf16FromUtf8(const char* text);
// False for text with unpaired surrogates.
using unicode::Utf8FromUtf16;

}  // namespace substitute
