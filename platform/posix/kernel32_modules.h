// kernel32 substitute: a registry of the process's modules, and of module files a test has
// placed where LoadLibraryA looks. The main module is the game image, which the stand-in game
// registers with the file name the test chooses.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "win_types.h"

#define ERROR_MOD_NOT_FOUND 126u
#define ERROR_PROC_NOT_FOUND 127u

// Null names the main module; otherwise a loaded module's file name, matched without case and
// without the folder ("ombrix.vc.asi"), a name without extension meaning ".dll".
HMODULE GetModuleHandleA(LPCSTR moduleName);
// Copies the module's file name; a short buffer gets it cut and terminated, the answer is then
// `size` with ERROR_INSUFFICIENT_BUFFER. Null names the main module.
DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);
// The part of Windows' search that is modelled: a bare name ("Ombrix.VC.asi") first finds a
// loaded module of that file name, then a file in the main module's folder, then in
// "C:\Windows\system32"; a relative path ("scripts\Ombrix.VC.asi") is taken from the main
// module's folder; an absolute path as it is. Paths match without case, "\" and "/" alike, a
// name without extension meaning ".dll". A placed file becomes a loaded module; null with
// ERROR_MOD_NOT_FOUND when nothing is found.
HMODULE LoadLibraryA(LPCSTR fileName);
// The export of that exact (case-sensitive) name of a loaded module (null: the main module);
// null with ERROR_PROC_NOT_FOUND otherwise. Ordinals are not modelled.
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
// Each LoadLibraryA of a module needs one FreeLibrary; after the last one it is a placed file
// again (the main module stays).
BOOL FreeLibrary(HMODULE module);

namespace substitute {

constexpr int kMaxModules = 32;          // rows of the registry, the main module's among them
constexpr int kMaxModuleExports = 8;     // exports one module can have
constexpr int kMaxExportName = 63;       // characters of an export name
constexpr int kMaxLoggedModuleCalls = 64;  // names each call log keeps (the first ones)

struct ModuleExport {
    const char* name;  // exact, case-sensitive export name
    FARPROC address;   // what GetProcAddress answers
};

template <class Function>
ModuleExport Export(const char* name, Function* function) {
    return {name, reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function))};
}

// Test control. Plain storage, usable from the earliest static initialisers. Every function
// refuses (false, nothing changed) a null handle, a file name longer than MAX_PATH, more than
// kMaxModuleExports exports or an export name longer than kMaxExportName, and a full registry.
bool SetMainModule(HMODULE module, LPCSTR fileName);  // a null handle: no main module
// A module already loaded (by the loader): adds it, or gives a row with this handle the new
// name and exports and makes it loaded.
bool RegisterModule(HMODULE module, LPCSTR fileName, std::initializer_list<ModuleExport> exports = {});
// A module file LoadLibraryA can find at `windowsPath` (full path), not loaded yet; it loads
// at `module`. Refused when a loaded module has this handle.
bool PlaceModuleFile(LPCSTR windowsPath, HMODULE module, std::initializer_list<ModuleExport> exports = {});
bool ForgetModule(HMODULE module);  // loaded or placed; never the main module
void ForgetModules();               // every module but the main one, placed files too

// The names given to LoadLibraryA and to GetModuleHandleA (null names are not logged), in
// call order: the first kMaxLoggedModuleCalls of each since ClearModuleLogs.
std::vector<std::string> LoadLibraryCalls();
std::vector<std::string> ModuleHandleQueries();
void ClearModuleLogs();

}  // namespace substitute
