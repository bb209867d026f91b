// MultiByteToWideChar for UTF-8 and a single-byte ANSI page (Windows-1252), as Windows Vista
// and later convert: ill-formed UTF-8 becomes U+FFFD unless MB_ERR_INVALID_CHARS is given.
#include <cstring>

#include "kernel32.h"
#include "substitute.h"
#include "utf16_text.h"

namespace {

bool IsAnsiPage(UINT codePage) {
    return codePage == CP_ACP || codePage == CP_THREAD_ACP || codePage == 1252;
}

template <class Emit>
void ConvertCp1252(const unsigned char* at, const unsigned char* end, Emit emit) {
    for (; at < end; ++at) emit(substitute::Cp1252Unit(*at));
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
        if (!substitute::ConvertUtf8(begin, end, strict, count))
            return Fail(ERROR_NO_UNICODE_TRANSLATION);
    } else {
        ConvertCp1252(begin, end, count);
    }
    if (required > 0x7FFFFFFF) return Fail(ERROR_INVALID_PARAMETER);
    if (destUnits == 0) return static_cast<int>(required);
    if (required > static_cast<size_t>(destUnits)) return Fail(ERROR_INSUFFICIENT_BUFFER);

    LPWSTR out = dest;
    auto write = [&](char16_t unit) { *out++ = unit; };
    if (utf8)
        substitute::ConvertUtf8(begin, end, strict, write);
    else
        ConvertCp1252(begin, end, write);
    return static_cast<int>(required);
}
