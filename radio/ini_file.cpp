#include "ini_file.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "../platform/platform.h"
#include "text_file.h"

namespace {

// The comment pass reads lines through a 512-byte buffer: a longer line arrives in pieces of
// at most 511 bytes, and each piece is taken as a line of its own.
constexpr size_t kLinePiece = 511;

std::string CommentKey(std::string_view section, std::string_view key) {
    std::string composite(section);
    composite += '|';
    composite += key;
    return composite;
}

std::string_view WithoutTrailingSpace(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

}  // namespace

IniFile::IniFile(const char* path) {
    const size_t length = path ? std::strlen(path) : 0;
    if (length >= sizeof path_) {
        path_[0] = '\0';
        return;
    }
    std::memcpy(path_, path ? path : "", length + 1);
}

bool IniFile::Exists() const {
    if (path_[0] == '\0') return false;
    const DWORD attributes = GetFileAttributesA(path_);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IniFile::Missing() const {
    if (path_[0] == '\0' || GetFileAttributesA(path_) != INVALID_FILE_ATTRIBUTES) return false;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

void IniFile::Remove() const {
    if (path_[0] != '\0') DeleteFileA(path_);
}

int32_t IniFile::ReadInteger(const char* section, const char* key, int32_t fallback) const {
    if (path_[0] == '\0') return fallback;
    return static_cast<int32_t>(GetPrivateProfileIntA(section, key, fallback, path_));
}

bool IniFile::WriteInteger(const char* section, const char* key, int32_t value,
                           const char* comment) {
    if (path_[0] == '\0') return false;
    NoteComment(section, key, comment);
    char text[512];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    return WritePrivateProfileStringA(section, key, text, path_) != FALSE;
}

void IniFile::NoteComment(const char* section, const char* key, const char* comment) {
    if (comment && *comment) comments_[CommentKey(section, key)] = comment;
}

bool IniFile::ApplyComments(const char* header) const {
    std::string text;
    if (path_[0] == '\0' || !ReadTextFile(path_, text)) return false;

    std::string out = header;
    if (out.empty() || out.back() != '\n') out += '\n';
    bool firstSection = true;
    std::string section;
    for (size_t at = 0; at < text.size();) {
        const size_t lineEnd = text.find('\n', at);
        const size_t lineLength = (lineEnd == std::string::npos ? text.size() : lineEnd + 1) - at;
        const std::string_view line(text.data() + at, std::min(lineLength, kLinePiece));
        at += line.size();

        if (line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            if (!firstSection) out += '\n';
            firstSection = false;
            const size_t close = line.find(']');
            if (close != std::string_view::npos) section = line.substr(1, close - 1);
        } else if (const size_t equals = line.find('='); equals != std::string_view::npos &&
                                                         !section.empty()) {
            const auto comment = comments_.find(
                CommentKey(section, WithoutTrailingSpace(line.substr(0, equals))));
            if (comment != comments_.end() && !comment->second.empty())
                out += "; " + comment->second + "\n";
        }
        out += line;
    }
    return WriteTextFile(path_, out);
}
