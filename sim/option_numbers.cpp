#include "option_numbers.h"

#include <cerrno>
#include <cctype>
#include <cstdlib>

namespace sim {

bool ParseOptionNumber(const std::string& text, uint32_t& value) {
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hex ? text.substr(2) : text;
    // strtoull would take a sign (and wrap "-1") or leading blanks; none belong here.
    if (digits.empty() || !std::isxdigit(static_cast<unsigned char>(digits[0]))) return false;
    char* end = nullptr;
    errno = 0;
    unsigned long long parsed = std::strtoull(digits.c_str(), &end, hex ? 16 : 10);
    if (*end != '\0' || errno == ERANGE || parsed > 0xFFFFFFFFull) return false;
    value = static_cast<uint32_t>(parsed);
    return true;
}

bool ParseOptionSize(const std::string& text, uint32_t& width, uint32_t& height) {
    size_t x = text.find('x');
    return x != std::string::npos && ParseOptionNumber(text.substr(0, x), width) &&
           ParseOptionNumber(text.substr(x + 1), height);
}

}  // namespace sim
