// user32 substitute: message boxes are recorded instead of shown; the active window is
// whatever the test sets. GetKeyState is deliberately not declared: system code binds it at
// run time from a loaded user32 (GetModuleHandleA + GetProcAddress), and so must tests.
#pragma once

#include <string>
#include <vector>

#include "win_types.h"

typedef struct HWND__* HWND;

#define MB_OK 0x00000000u
#define MB_ICONERROR 0x00000010u
#define MB_ICONWARNING 0x00000030u
#define MB_ICONINFORMATION 0x00000040u
#define IDOK 1

// Records the box and answers IDOK at once, as a box without a display does.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
HWND GetActiveWindow();

namespace substitute {

struct MessageBoxRecord {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};

// Test control.
const std::vector<MessageBoxRecord>& MessageBoxes();
void ClearMessageBoxes();
void SetActiveWindow(HWND window);

// Registers (true) or forgets (false) the module "C:\\Windows\\system32\\user32.dll", whose
// one export "GetKeyState" answers from the key table: -32768 (bit 15, as Windows sets it for a
// key held down) while the key is down, 0 otherwise and for a code outside 0-255.
// Not loaded until a test says so.
void SetUser32Loaded(bool loaded);
void SetKeyDown(int vk, bool down);  // codes outside 0-255 are ignored
void ResetKeys();                    // every key up

}  // namespace substitute
