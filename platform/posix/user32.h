// user32 substitute: message boxes are recorded instead of shown; the active window is
// whatever the test sets.
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

}  // namespace substitute
