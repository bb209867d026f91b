// kernel32 substitute: a registry of the process's modules. The main module is the game
// image, which the stand-in game registers with the file name the test chooses.
#pragma once

#include "win_types.h"

#define ERROR_MOD_NOT_FOUND 126u

// Null names the main module; otherwise a registered module's file name, matched without
// case and without the folder ("ombrix.vc.asi"), a name without extension meaning ".dll".
HMODULE GetModuleHandleA(LPCSTR moduleName);
// Copies the module's file name; a short buffer gets it cut and terminated, the answer is then
// `size` with ERROR_INSUFFICIENT_BUFFER. Null names the main module.
DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);

namespace substitute {

// Test control. Plain storage, usable from the earliest static initialisers.
void SetMainModule(HMODULE module, LPCSTR fileName);
// Adds a module, or renames it when it is already there; false when the registry is full.
bool RegisterModule(HMODULE module, LPCSTR fileName);
void ForgetModules();  // every module but the main one

}  // namespace substitute
