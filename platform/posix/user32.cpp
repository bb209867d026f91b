#include "user32.h"

namespace {

std::vector<substitute::MessageBoxRecord>& Boxes() {
    static auto* boxes = new std::vector<substitute::MessageBoxRecord>;  // shown at exit too
    return *boxes;
}

HWND activeWindow = nullptr;

}  // namespace

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    Boxes().push_back({owner, text ? text : "", caption ? caption : "", type});
    return IDOK;
}

HWND GetActiveWindow() { return activeWindow; }

namespace substitute {

const std::vector<MessageBoxRecord>& MessageBoxes() { return Boxes(); }
void ClearMessageBoxes() { Boxes().clear(); }
void SetActiveWindow(HWND window) { activeWindow = window; }

}  // namespace substitute
