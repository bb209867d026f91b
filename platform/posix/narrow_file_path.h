// Paths handed to the standard library's narrow file streams are Windows paths; here "\\"
// becomes "/" so they open the same file.
#pragma once

#include <string>

inline std::string NarrowFilePath(const char* path) {
    std::string result(path);
    for (char& c : result)
        if (c == '\\') c = '/';
    return result;
}
