// The plug-in loader's part: every ".asi" of a folder attached, in name order.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>
#include <vector>

namespace standin {

struct LoadedPlugin {
    std::string name;       // file name, as found
    HMODULE module;         // null when LoadLibraryA refused it
    DWORD error;            // GetLastError of the refusal
};

// The names of the folder's files matching `pattern` ("*.asi"), in name order; `folder` ends in
// a separator.
std::vector<std::string> FolderFileNames(const std::string& folder, const char* pattern);

// `folder` ends in a separator.
std::vector<LoadedPlugin> LoadPluginFolder(const std::string& folder);

}  // namespace standin
