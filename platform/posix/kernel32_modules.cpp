#include "kernel32_modules.h"

#include <strings.h>

#include <cstring>

#include "kernel32.h"
#include "substitute.h"

namespace {

struct Module {
    HMODULE handle;          // load address, as Windows hands it out
    char fileName[MAX_PATH + 1];  // full Windows path of the module's file
};

constexpr int kMaxModules = 16;
Module modules[kMaxModules];  // [0] is the main module; a null handle marks a free row
int moduleCount = 1;

void StoreName(Module& module, LPCSTR fileName) {
    std::strncpy(module.fileName, fileName ? fileName : "", MAX_PATH);
    module.fileName[MAX_PATH] = '\0';
}

const char* LastComponent(const char* path) {
    const char* cut = path;
    for (const char* c = path; *c; ++c)
        if (*c == '\\' || *c == '/') cut = c + 1;
    return cut;
}

bool NameMatches(const Module& module, LPCSTR wanted) {
    char name[MAX_PATH + 8];
    std::strncpy(name, LastComponent(wanted), MAX_PATH);
    name[MAX_PATH] = '\0';
    if (!std::strchr(name, '.')) std::strcat(name, ".dll");
    return strcasecmp(LastComponent(module.fileName), name) == 0;
}

Module* Find(HMODULE handle) {
    if (!handle) return modules[0].handle ? &modules[0] : nullptr;
    for (int i = 0; i < moduleCount; ++i)
        if (modules[i].handle == handle) return &modules[i];
    return nullptr;
}

}  // namespace

HMODULE GetModuleHandleA(LPCSTR moduleName) {
    if (!substitute::ShouldFail(substitute::Call::GetModuleHandleA)) {
        if (!moduleName) {
            if (modules[0].handle) return modules[0].handle;
        } else {
            for (int i = 0; i < moduleCount; ++i)
                if (modules[i].handle && NameMatches(modules[i], moduleName)) return modules[i].handle;
        }
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    const Module* found = Find(module);
    if (substitute::ShouldFail(substitute::Call::GetModuleFileNameA) || !found) {
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

namespace substitute {

void SetMainModule(HMODULE module, LPCSTR fileName) {
    modules[0].handle = module;
    StoreName(modules[0], fileName);
}

bool RegisterModule(HMODULE module, LPCSTR fileName) {
    if (!module) return false;
    Module* row = Find(module);
    if (!row) {
        if (moduleCount == kMaxModules) return false;
        row = &modules[moduleCount++];
        row->handle = module;
    }
    StoreName(*row, fileName);
    return true;
}

void ForgetModules() {
    for (int i = 1; i < moduleCount; ++i) modules[i] = Module{};
    moduleCount = 1;
}

}  // namespace substitute
