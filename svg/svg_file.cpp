#include "svg_file.h"

#include <memory>
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
    // Read into a buffer left unfilled, then appended: growing the text by a whole chunk
    // before each read would zero-fill it.
    const std::unique_ptr<char[]> chunk(new (std::nothrow) char[kReadChunk]);
    if (!chunk) return {};
    std::string text;
    try {
        for (;;) {
            DWORD read = 0;
            // A read that fails part way gives nothing rather than a document cut short.
            if (!file.ReadSome(chunk.get(), kReadChunk, read)) return {};
            if (read == 0) return text;
            text.append(chunk.get(), read);
        }
    } catch (const std::bad_alloc&) {
        // A file larger than memory allows is refused like one that cannot be opened.
        return {};
    }
}
