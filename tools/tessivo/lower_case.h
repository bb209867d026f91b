// File names as Windows compares them: without regard to the case of ASCII letters.
#pragma once

#include <cctype>
#include <string>

inline std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}
