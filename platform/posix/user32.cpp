#include "user32.h"

#include <cstdint>

#include "kernel32_modules.h"
#include "substitute.h"

namespace {

std::vector<substitute::MessageBoxRecord>& Boxes() {
    static auto* boxes = new std::vector<substitute::MessageBoxRecord>;  // shown at exit too
    return *boxes;
}

HWND activeWindow = nullptr;

// Constant-initialised: a key table set from static initialisers stays set.
bool keysDown[256];

HMODULE User32Handle() { return reinterpret_cast<HMODULE>(uintptr_t{0x76500000}); }
constexpr const char* kUser32File = "C:\\Windows\\system32\\user32.dll";

// Reached only through GetProcAddress, as the plug-in binds it.
SHORT WINAPI GetKeyState(int vk) {
    return vk >= 0 && vk < 256 && keysDown[vk] ? static_cast<SHORT>(-0x8000) : SHORT{0};
}

}  // namespace

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    if (substitute::ShouldFail(substitute::Call::MessageBoxA)) return 0;
    Boxes().push_back({owner, text ? text : "", caption ? caption : "", type});
    return IDOK;
}

HWND GetActiveWindow() { return activeWindow; }

namespace substitute {

const std::vector<MessageBoxRecord>& MessageBoxes() { return Boxes(); }
void ClearMessageBoxes() { Boxes().clear(); }
void SetActiveWindow(HWND window) { activeWindow = window; }

void SetUser32Loaded(bool loaded) {
    if (loaded)
        RegisterModule(User32Handle(), kUser32File, {Export("GetKeyState", &GetKeyState)});
    else
        ForgetModule(User32Handle());
}

void SetKeyDown(int vk, bool down) {
    if (vk >= 0 && vk < 256) keysDown[vk] = down;
}

void ResetKeys() {
    for (bool& key : keysDown) key = false;
}

}  // namespace substitute
