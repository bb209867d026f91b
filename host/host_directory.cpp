#include "host_directory.h"

#include <algorithm>
#include <cstring>

#include "../platform/platform.h"
#include "error_box.h"

namespace {

char directory[kHostPathBufferSize];
char path[kHostPathBufferSize];

// Cuts after the separator furthest to the right, "\\" or "/"; without one the file name
// stays whole.
void KeepFolder(char* fileName) {
    char* backslash = std::strrchr(fileName, '\\');
    char* slash = std::strrchr(fileName, '/');
    char* cut = !backslash ? slash : !slash ? backslash : std::max(backslash, slash);
    if (cut) cut[1] = '\0';
}

const char* FillDirectory() {
    HMODULE game = GetModuleHandleA(nullptr);
    if (!game) ShowErrorBox("FILESYSTEM\nFailed to retrieve game dir path");
    // With a null handle the call names the main executable all the same.
    GetModuleFileNameA(game, directory, kHostPathBufferSize - 1);
    KeepFolder(directory);
    return directory;
}

}  // namespace

const char* HostDirectory() {
    static const char* const filled = FillDirectory();
    return filled;
}

const char* HostFilePath(const char* relativePath) {
    const char* folder = HostDirectory();
    const size_t folderLength = std::strlen(folder);
    const size_t relativeLength = std::strlen(relativePath);
    if (folderLength + relativeLength >= kHostPathBufferSize) {
        path[0] = '\0';
        return path;
    }
    std::memcpy(path, folder, folderLength);
    std::memcpy(path + folderLength, relativePath, relativeLength + 1);
    return path;
}
