#include "folder_search.h"

namespace {

unsigned char AsciiLower(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
}

bool EndsWithIgnoringCase(const std::string& text, const char* suffix) {
    std::string tail(suffix);
    if (text.size() < tail.size()) return false;
    for (size_t i = 0; i < tail.size(); ++i) {
        if (AsciiLower(text[text.size() - tail.size() + i]) != AsciiLower(tail[i])) return false;
    }
    return true;
}

}  // namespace

std::string JoinFolderImagePath(const char* folderPath, const char* fileName,
                                const char* extension) {
    if (!folderPath || !*folderPath || !fileName || !*fileName) return {};
    std::string path(folderPath);
    if (path.back() != '\\' && path.back() != '/') path += '\\';
    path += fileName;
    // The whole joined path is tested, so "sub\\radio" in "icons" still gets its extension.
    if (!EndsWithIgnoringCase(path, extension)) path += extension;
    return path;
}
