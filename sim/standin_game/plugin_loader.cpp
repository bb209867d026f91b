#include "plugin_loader.h"

#include <algorithm>

namespace standin {

std::vector<std::string> FolderFileNames(const std::string& folder, const char* pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + pattern).c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do names.push_back(found.cFileName);
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<LoadedPlugin> LoadPluginFolder(const std::string& folder) {
    std::vector<LoadedPlugin> plugins;
    for (const std::string& name : FolderFileNames(folder, "*.asi")) {
        HMODULE module = LoadLibraryA((folder + name).c_str());
        plugins.push_back({name, module, module ? 0 : GetLastError()});
    }
    return plugins;
}

}  // namespace standin
