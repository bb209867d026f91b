#include "kernel32_modules.h"

#include <strings.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <mutex>

#include "kernel32.h"
#include "substitute.h"

namespace {

struct Export {
    char name[substitute::kMaxExportName + 1];  // exact export name
    FARPROC address;                            // what GetProcAddress answers
};

struct Module {
    HMODULE handle;                // load address, as Windows hands it out; null: a free row
    char fileName[MAX_PATH + 1];   // full Windows path of the module's file
    int loadCount;                 // loads not yet freed; 0: a placed file, not loaded
    int exportCount;               // rows of `exports` in use
    Export exports[substitute::kMaxModuleExports];
};

// One log of names given to a call: the first kMaxLoggedModuleCalls of them.
struct CallLog {
    int count;
    char names[substitute::kMaxLoggedModuleCalls][MAX_PATH + 1];
};

constexpr const char* kSystemFolder = "C:\\Windows\\system32\\";

// Constant-initialised, so usable before any dynamic initialiser has run.
std::mutex registryMutex;
Module modules[substitute::kMaxModules];  // [0] is the main module
CallLog loadLibraryCalls;
CallLog moduleHandleQueries;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

const char* LastComponent(const char* path) {
    const char* cut = path;
    for (const char* c = path; *c; ++c)
        if (IsSeparator(*c)) cut = c + 1;
    return cut;
}

bool FitsPath(LPCSTR name) { return !name || std::strlen(name) <= MAX_PATH; }

void Log(CallLog& log, LPCSTR name) {
    if (!name || log.count >= substitute::kMaxLoggedModuleCalls) return;
    // A longer name than a row holds is logged cut; such a name is refused by the call anyway.
    std::strncpy(log.names[log.count], name, MAX_PATH);
    log.names[log.count][MAX_PATH] = '\0';
    ++log.count;
}

std::vector<std::string> Entries(const CallLog& log) {
    std::lock_guard<std::mutex> lock(registryMutex);
    return std::vector<std::string>(log.names, log.names + log.count);
}

// The file name with ".dll" added when its last component has no extension.
std::string WithDefaultExtension(const char* name) {
    std::string full = name;
    if (!std::strchr(LastComponent(name), '.')) full += ".dll";
    return full;
}

// "C:/a/./b\\..\\c.dll" as "C:\\a\\c.dll": one kind of separator, no "." or ".." steps.
std::string NormalPath(const std::string& path) {
    std::string prefix;
    size_t at = 0;
    if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') {
        prefix = path.substr(0, 2);
        at = 2;
    }
    if (at < path.size() && IsSeparator(path[at])) prefix += '\\';
    std::vector<std::string> steps;
    while (at < path.size()) {
        size_t end = at;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        std::string step = path.substr(at, end - at);
        if (step == "..") {
            if (!steps.empty()) steps.pop_back();
        } else if (!step.empty() && step != ".") {
            steps.push_back(step);
        }
        at = end + 1;
    }
    std::string joined = prefix;
    for (size_t i = 0; i < steps.size(); ++i) joined += (i ? "\\" : "") + steps[i];
    return joined;
}

bool SamePath(const char* a, const std::string& normalB) {
    return strcasecmp(NormalPath(a).c_str(), normalB.c_str()) == 0;
}

bool IsAbsolute(const char* path) {
    return IsSeparator(path[0]) || (std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':');
}

bool IsLoaded(int row) { return modules[row].handle && (row == 0 || modules[row].loadCount > 0); }

bool BaseNameMatches(const Module& module, LPCSTR wanted) {
    return strcasecmp(LastComponent(module.fileName), WithDefaultExtension(LastComponent(wanted)).c_str()) == 0;
}

// The row holding `handle`, loaded or placed; -1 when none. Call with registryMutex held.
int RowOf(HMODULE handle) {
    for (int i = 0; i < substitute::kMaxModules; ++i)
        if (handle && modules[i].handle == handle) return i;
    return -1;
}

// The loaded module `handle` names (null: the main one). Call with registryMutex held.
Module* FindLoaded(HMODULE handle) {
    if (!handle) return modules[0].handle ? &modules[0] : nullptr;
    const int row = RowOf(handle);
    return row >= 0 && IsLoaded(row) ? &modules[row] : nullptr;
}

int FreeRow() {
    for (int i = 1; i < substitute::kMaxModules; ++i)
        if (!modules[i].handle) return i;
    return -1;
}

bool ValidExports(std::initializer_list<substitute::ModuleExport> exports) {
    if (exports.size() > static_cast<size_t>(substitute::kMaxModuleExports)) return false;
    for (const auto& e : exports)
        if (!e.name || std::strlen(e.name) > static_cast<size_t>(substitute::kMaxExportName)) return false;
    return true;
}

void Store(Module& module, HMODULE handle, LPCSTR fileName, int loadCount,
           std::initializer_list<substitute::ModuleExport> exports) {
    module = Module{};
    module.handle = handle;
    std::strcpy(module.fileName, fileName ? fileName : "");
    module.loadCount = loadCount;
    for (const auto& e : exports) {
        Export& row = module.exports[module.exportCount++];
        std::strcpy(row.name, e.name);
        row.address = e.address;
    }
}

HMODULE NotFound(DWORD error) {
    SetLastError(error);
    return nullptr;
}

// The folder of the main module's file, with its separator ("" when it names none).
std::string ApplicationFolder() {
    const char* name = modules[0].fileName;
    return std::string(name, LastComponent(name) - name);
}

}  // namespace

HMODULE GetModuleHandleA(LPCSTR moduleName) {
    {
        std::lock_guard<std::mutex> lock(registryMutex);
        Log(moduleHandleQueries, moduleName);
    }
    if (substitute::ShouldFail(substitute::Call::GetModuleHandleA)) return NotFound(ERROR_MOD_NOT_FOUND);
    std::lock_guard<std::mutex> lock(registryMutex);
    if (!moduleName) return modules[0].handle ? modules[0].handle : NotFound(ERROR_MOD_NOT_FOUND);
    if (!FitsPath(moduleName)) return NotFound(ERROR_MOD_NOT_FOUND);
    for (int i = 0; i < substitute::kMaxModules; ++i)
        if (IsLoaded(i) && BaseNameMatches(modules[i], moduleName)) return modules[i].handle;
    return NotFound(ERROR_MOD_NOT_FOUND);
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    const bool fail = substitute::ShouldFail(substitute::Call::GetModuleFileNameA);
    std::lock_guard<std::mutex> lock(registryMutex);
    const Module* found = FindLoaded(module);
    if (fail || !found) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    if (size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const DWORD length = static_cast<DWORD>(std::strlen(found->fileName));
    if (length >= size) {
        std::memcpy(fileName, found->fileName, size - 1);
        fileName[size - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::memcpy(fileName, found->fileName, length + 1);
    return length;
}

HMODULE LoadLibraryA(LPCSTR fileName) {
    {
        std::lock_guard<std::mutex> lock(registryMutex);
        Log(loadLibraryCalls, fileName);
    }
    if (substitute::ShouldFail(substitute::Call::LoadLibraryA)) return NotFound(ERROR_MOD_NOT_FOUND);
    if (!fileName) return NotFound(ERROR_INVALID_PARAMETER);
    if (!FitsPath(fileName)) return NotFound(ERROR_FILENAME_EXCED_RANGE);
    if (!*fileName) return NotFound(ERROR_MOD_NOT_FOUND);

    std::lock_guard<std::mutex> lock(registryMutex);
    const std::string name = WithDefaultExtension(fileName);
    const bool bare = LastComponent(fileName) == fileName;
    if (bare)  // a loaded module of that file name comes first, wherever it was loaded from
        for (int i = 0; i < substitute::kMaxModules; ++i)
            if (IsLoaded(i) && BaseNameMatches(modules[i], fileName)) {
                if (i) ++modules[i].loadCount;
                return modules[i].handle;
            }

    std::vector<std::string> candidates;
    if (IsAbsolute(name.c_str())) {
        candidates.push_back(name);
    } else {
        candidates.push_back(ApplicationFolder() + name);
        if (bare) candidates.push_back(kSystemFolder + name);
    }
    for (const std::string& candidate : candidates) {
        const std::string wanted = NormalPath(candidate);
        for (int i = 0; i < substitute::kMaxModules; ++i) {
            if (!modules[i].handle || !SamePath(modules[i].fileName, wanted)) continue;
            if (i) ++modules[i].loadCount;  // a placed file (count 0) becomes loaded
            return modules[i].handle;
        }
    }
    return NotFound(ERROR_MOD_NOT_FOUND);
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
    const bool fail = substitute::ShouldFail(substitute::Call::GetProcAddress);
    std::lock_guard<std::mutex> lock(registryMutex);
    const Module* found = fail ? nullptr : FindLoaded(module);
    if (found && reinterpret_cast<uintptr_t>(procName) > 0xFFFF)  // below: an ordinal
        for (int i = 0; i < found->exportCount; ++i)
            if (std::strcmp(found->exports[i].name, procName) == 0) return found->exports[i].address;
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

BOOL FreeLibrary(HMODULE module) {
    std::lock_guard<std::mutex> lock(registryMutex);
    Module* found = module ? FindLoaded(module) : nullptr;
    if (!found) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    if (found != &modules[0]) --found->loadCount;
    return TRUE;
}

namespace substitute {

bool SetMainModule(HMODULE module, LPCSTR fileName) {
    if (!FitsPath(fileName)) return false;
    std::lock_guard<std::mutex> lock(registryMutex);
    if (RowOf(module) > 0) return false;  // another module's handle
    Store(modules[0], module, module ? fileName : "", 1, {});
    return true;
}

bool RegisterModule(HMODULE module, LPCSTR fileName, std::initializer_list<ModuleExport> exports) {
    if (!module || !FitsPath(fileName) || !ValidExports(exports)) return false;
    std::lock_guard<std::mutex> lock(registryMutex);
    int row = RowOf(module);
    if (row < 0) row = FreeRow();
    if (row < 0) return false;
    const int loadCount = modules[row].handle == module && modules[row].loadCount > 0 ? modules[row].loadCount : 1;
    Store(modules[row], module, fileName, loadCount, exports);
    return true;
}

bool PlaceModuleFile(LPCSTR windowsPath, HMODULE module, std::initializer_list<ModuleExport> exports) {
    if (!module || !windowsPath || !FitsPath(windowsPath) || !ValidExports(exports)) return false;
    std::lock_guard<std::mutex> lock(registryMutex);
    int row = RowOf(module);
    if (row >= 0 && IsLoaded(row)) return false;
    if (row < 0) row = FreeRow();
    if (row < 0) return false;
    Store(modules[row], module, windowsPath, 0, exports);
    return true;
}

bool ForgetModule(HMODULE module) {
    std::lock_guard<std::mutex> lock(registryMutex);
    const int row = RowOf(module);
    if (row <= 0) return false;
    modules[row] = Module{};
    return true;
}

void ForgetModules() {
    std::lock_guard<std::mutex> lock(registryMutex);
    for (int i = 1; i < kMaxModules; ++i) modules[i] = Module{};
}

std::vector<std::string> LoadLibraryCalls() { return Entries(loadLibraryCalls); }
std::vector<std::string> ModuleHandleQueries() { return Entries(moduleHandleQueries); }

void ClearModuleLogs() {
    std::lock_guard<std::mutex> lock(registryMutex);
    loadLibraryCalls.count = 0;
    moduleHandleQueries.count = 0;
}

}  // namespace substitute
