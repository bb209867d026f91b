// UTF-16 text as UTF-8, the same on both builds: the substitute's wide strings, and the
// strings of version resources that the tools read from Windows files.
#pragma once

#include <string>

namespace unicode {

// `text` up to its zero terminator; false for text with unpaired surrogates.
bool Utf8FromUtf16(const char16_t* text, std::string& out);

}  // namespace unicode
