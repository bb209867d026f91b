#include "svg_file.h"

#include <new>

#include "../platform/file_handle.h"

namespace {

constexpr DWORD kReadChunk = 64 * 1024;

}  // namespace

std::string ReadSvgText(const char* filePath) {
    if (filePath == nullptr || *filePath == '\0') return {};
    FileHandle file(CreateFileA(filePath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) return {};
    std::string text;
    try {
        for (;;) {
            const size_t have = text.size();
            text.resize(have + kReadChunk);
            DWORD read = 0;
            // A read that fails part way gives nothing rather than a document cut short.
            if (!file.ReadSome(&text[have], kReadChunk, read)) return {};
            text.resize(have + read);
            if (read == 0) return text;
        }
    } catch (const std::bad_alloc&) {
        // A file larger than memory allows is refused like one that cannot be opened.
        return {};
    }
}
