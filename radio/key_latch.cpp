#include "key_latch.h"

#include "../platform/platform.h"
#include "radio_strip_settings.h"

std::array<uint8_t, 256> KeyLatch = {};

namespace {

using GetKeyStateFn = SHORT(WINAPI*)(int);

GetKeyStateFn getKeyState = nullptr;

// Binds GetKeyState when user32 is loaded; tried again on every call until it is.
GetKeyStateFn BoundGetKeyState() {
    if (!getKeyState)
        if (HMODULE user32 = GetModuleHandleA("user32.dll"))
            getKeyState = reinterpret_cast<GetKeyStateFn>(
                reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetKeyState")));
    return getKeyState;
}

bool IsDown(GetKeyStateFn keyState, uint32_t vk) {
    return (static_cast<uint16_t>(keyState(static_cast<int>(vk))) & 0x8000) != 0;
}

}  // namespace

bool KeyJustPressed(uint32_t vk) {
    if (vk >= KeyLatch.size()) return false;
    const GetKeyStateFn keyState = BoundGetKeyState();
    if (!keyState || !IsDown(keyState, vk)) {
        KeyLatch[vk] = 0;
        return false;
    }
    if (KeyLatch[vk]) return false;
    KeyLatch[vk] = 1;
    return true;
}

void RefreshKeyLatch() {
    const int32_t key = radioStripSettings.ReloadKey;
    if (key < 1 || key > 255) return;
    const GetKeyStateFn keyState = BoundGetKeyState();
    if (!keyState || !IsDown(keyState, static_cast<uint32_t>(key))) KeyLatch[key] = 0;
}
