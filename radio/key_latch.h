// Keyboard edge detection for the strip's keys. GetKeyState comes from a user32 that is
// already loaded; the plug-in never imports it and never loads user32 itself.
#pragma once

#include <array>
#include <cstdint>

// One flag per virtual-key code: the key was seen down and not seen up since.
extern std::array<uint8_t, 256> KeyLatch;

// True on the first call that sees `vk` down after it was up. Codes of 256 and above, and
// every key while GetKeyState cannot be had, answer false.
bool KeyJustPressed(uint32_t vk);

// Clears the reload key's latch while that key is up (or GetKeyState cannot be had).
void RefreshKeyLatch();
