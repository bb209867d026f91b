// UTF-8 and UTF-16 inside the substitute, where Windows strings meet POSIX and XML ones.
#pragma once

#include <string>

#include "win_types.h"

namespace substitute {

// Malformed sequences become U+FFFD.
std::u16string Utf16FromUtf8(const char* text);
// False for text with unpaired surrogates.
bool Utf8FromUtf16(const WCHAR* text, std::string& out);

}  // namespace substitute
