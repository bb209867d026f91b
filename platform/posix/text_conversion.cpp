// MultiByteToWideChar for UTF-8 and a single-byte ANSI page (Windows-1252), as Windows Vista
// and later convert: ill-formed UTF-8 becomes U+FFFD unless MB_ERR_INVALID_CHARS is given.
#include <cstring>

#include "kernel32.h"
#include "substitute.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Windows-1252 bytes 0x80..0x9F; the five the page leaves undefined map to the C1 controls of
// the same value, as Windows maps them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsAnsiPage(UINT codePage) {
    return codePage == CP_ACP || codePage == CP_THREAD_ACP || codePage == 1252;
}

// Decodes the next UTF-8 sequence at `at` (before `end`) into a code point and advances `at`.
// An ill-formed sequence yields U+FFFD for its longest well-formed prefix (at least one byte),
// the replacement the Unicode standard recommends, and `valid` false.
char32_t NextCodePoint(const unsigned char*& at, const unsigned char* end, bool& valid) {
    unsigned char lead = *at++;
    valid = true;
    if (lead < 0x80) return lead;

    int continuations;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the first continuation byte
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
        return kReplacement;
    }
    for (int i = 0; i < continuations; ++i) {
        if (at == end || *at < low || *at > high) {
            valid = false;
            return kReplacement;
        }
        point = (point << 6) | (*at++ & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return point;
}

// Converts the whole source, handing each UTF-16 unit to `emit`; false on an ill-formed
// sequence when `strict`.
template <class Emit>
bool ConvertUtf8(const unsigned char* at, const unsigned char* end, bool strict, Emit emit) {
    while (at < end) {
        bool valid;
        char32_t point = NextCodePoint(at, end, valid);
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

template <class Emit>
void ConvertCp1252(const unsigned char* at, const unsigned char* end, Emit emit) {
    for (; at < end; ++at)
        emit(*at >= 0x80 && *at <= 0x9F ? kCp1252High[*at - 0x80] : char16_t(*at));
}

int Fail(DWORD error) {
    SetLastError(error);
    return 0;
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceBytes, LPWSTR dest,
                        int destUnits) {
    if (substitute::ShouldFail(substitute::Call::MultiByteToWideChar))
        return Fail(ERROR_NO_UNICODE_TRANSLATION);
    if (!source || sourceBytes == 0 || sourceBytes < -1 || destUnits < 0 ||
        (destUnits > 0 && !dest))
        return Fail(ERROR_INVALID_PARAMETER);
    const bool utf8 = codePage == CP_UTF8;
    if (!utf8 && !IsAnsiPage(codePage)) return Fail(ERROR_INVALID_PARAMETER);
    const DWORD allowedFlags = utf8 ? MB_ERR_INVALID_CHARS : MB_PRECOMPOSED | MB_ERR_INVALID_CHARS;
    if (flags & ~allowedFlags) return Fail(ERROR_INVALID_FLAGS);

    // -1 means through the terminator, which is converted and counted like any other byte.
    size_t length = sourceBytes == -1 ? std::strlen(source) + 1 : static_cast<size_t>(sourceBytes);
    auto begin = reinterpret_cast<const unsigned char*>(source);
    auto end = begin + length;
    const bool strict = (flags & MB_ERR_INVALID_CHARS) != 0;

    // First count, so a buffer that is too small is refused untouched rather than truncated.
    size_t required = 0;
    auto count = [&](char16_t) { ++required; };
    if (utf8) {
        if (!ConvertUtf8(begin, end, strict, count)) return Fail(ERROR_NO_UNICODE_TRANSLATION);
    } else {
        ConvertCp1252(begin, end, count);
    }
    if (required > 0x7FFFFFFF) return Fail(ERROR_INVALID_PARAMETER);
    if (destUnits == 0) return static_cast<int>(required);
    if (required > static_cast<size_t>(destUnits)) return Fail(ERROR_INSUFFICIENT_BUFFER);

    LPWSTR out = dest;
    auto write = [&](char16_t unit) { *out++ = unit; };
    if (utf8)
        ConvertUtf8(begin, end, strict, write);
    else
        ConvertCp1252(begin, end, write);
    return static_cast<int>(required);
}
