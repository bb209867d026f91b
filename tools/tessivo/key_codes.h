// Windows key codes a player may give ReloadKey, with the names on the keys.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct KeyCode {
    int32_t code;
    std::string name;
};

// Letters, digits, F1 to F12, the number pad, and the keys the game leaves alone most often.
const std::vector<KeyCode>& KeyCodes();

// "left Ctrl", or empty for a code the list does not hold.
std::string KeyName(int32_t code);
