// GetKeyState as the plug-in reaches it: bound at run time from a loaded user32, answering
// from the key table the test sets.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/posix/substitute.h"

namespace {

using GetKeyStateFn = SHORT(WINAPI*)(int);

// What the plug-in does: GetModuleHandleA, then GetProcAddress; null while unbound.
GetKeyStateFn Bind() {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<GetKeyStateFn>(
                        reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetKeyState")))
                  : nullptr;
}

TEST(User32Keys, BoundOnlyWhileUser32IsLoadedAndBitFifteenWhileDown) {
    substitute::ResetKeys();
    EXPECT_EQ(Bind(), nullptr);
    substitute::SetUser32Loaded(true);
    const GetKeyStateFn getKeyState = Bind();
    ASSERT_NE(getKeyState, nullptr);
    for (int vk : {162, 0, 255, 256, -1}) substitute::SetKeyDown(vk, true);  // 256, -1: ignored
    const struct {
        int vk;
        SHORT expected;
    } cases[] = {{162, SHORT(-0x8000)}, {0, SHORT(-0x8000)}, {255, SHORT(-0x8000)},
                 {161, 0}, {256, 0}, {-1, 0}, {-100000, 0}};
    for (const auto& c : cases) EXPECT_EQ(getKeyState(c.vk), c.expected) << "vk " << c.vk;
    substitute::SetKeyDown(162, false);
    EXPECT_EQ(getKeyState(162), 0) << "released";
    substitute::ResetKeys();
    substitute::SetUser32Loaded(false);
    EXPECT_EQ(Bind(), nullptr);
}

}  // namespace
