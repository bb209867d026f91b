#include "text_file.h"

#include <vector>

#include "../platform/file_handle.h"

bool ReadTextFile(const char* path, std::string& text) {
    FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) return false;
    std::string bytes;
    char chunk[4096];
    for (;;) {
        DWORD read = 0;
        if (!file.ReadSome(chunk, sizeof chunk, read)) return false;
        if (read == 0) break;
        if (bytes.size() + read > kTextFileLimit) return false;
        bytes.append(chunk, read);
    }
    text.clear();
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i)
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) text += bytes[i];
    return true;
}

bool WriteTextFile(const char* path, const std::string& text) {
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    FileHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) return false;
    return file.WriteExact(bytes.data(), static_cast<DWORD>(bytes.size()));
}
