#include "key_codes.h"

#include "platform/platform.h"

namespace {

struct NamedKey {
    int32_t code;
    const char* name;
};

// Windows' virtual-key codes as its documentation lists them.
constexpr NamedKey kNamedKeys[] = {
    {8, "Backspace"},   {9, "Tab"},          {19, "Pause"},       {33, "Page Up"},
    {34, "Page Down"},  {35, "End"},         {36, "Home"},        {45, "Insert"},
    {46, "Delete"},     {106, "numpad *"},   {107, "numpad +"},   {109, "numpad -"},
    {111, "numpad /"},  {144, "Num Lock"},   {145, "Scroll Lock"}, {160, "left Shift"},
    {161, "right Shift"}, {162, "left Ctrl"}, {163, "right Ctrl"}, {164, "left Alt"},
    {165, "right Alt"},
};

#ifdef VK_LCONTROL
// Where the SDK's names are at hand (the Windows build), the numbers above are checked by them.
static_assert(kNamedKeys[0].code == VK_BACK && kNamedKeys[2].code == VK_PAUSE && kNamedKeys[3].code == VK_PRIOR &&
              kNamedKeys[7].code == VK_INSERT && kNamedKeys[9].code == VK_MULTIPLY &&
              kNamedKeys[12].code == VK_DIVIDE && kNamedKeys[14].code == VK_SCROLL &&
              kNamedKeys[15].code == VK_LSHIFT && kNamedKeys[17].code == VK_LCONTROL &&
              kNamedKeys[20].code == VK_RMENU && VK_F1 == 112 && VK_NUMPAD0 == 96);
#endif

std::vector<KeyCode> MakeKeyCodes() {
    std::vector<KeyCode> keys;
    for (char c = '0'; c <= '9'; ++c) keys.push_back({c, std::string(1, c)});
    for (char c = 'A'; c <= 'Z'; ++c) keys.push_back({c, std::string(1, c)});
    for (int i = 0; i <= 9; ++i) keys.push_back({96 + i, "numpad " + std::to_string(i)});
    for (int i = 1; i <= 12; ++i) keys.push_back({111 + i, "F" + std::to_string(i)});
    for (const NamedKey& key : kNamedKeys) keys.push_back({key.code, key.name});
    return keys;
}

}  // namespace

const std::vector<KeyCode>& KeyCodes() {
    static const std::vector<KeyCode> keys = MakeKeyCodes();
    return keys;
}

std::string KeyName(int32_t code) {
    for (const KeyCode& key : KeyCodes())
        if (key.code == code) return key.name;
    return "";
}
