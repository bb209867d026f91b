// GetKeyState as the plug-in reaches it: bound at run time from a loaded user32, answering
// from the key table the test sets.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/platform.h"
#include "platform/posix/substitute.h"

namespace {

using GetKeyStateFn = SHORT(WINAPI*)(int);

class User32Keys : public ::testing::Test {
protected:
    void SetUp() override { substitute::ResetKeys(); }
    void TearDown() override {
        substitute::SetUser32Loaded(false);
        substitute::ResetKeys();
    }
    // What the plug-in does: GetModuleHandleA, then GetProcAddress; null while unbound.
    static GetKeyStateFn Bind() {
        HMODULE user32 = GetModuleHandleA("user32.dll");
        return user32 ? reinterpret_cast<GetKeyStateFn>(
                                reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetKeyState"))) : nullptr;
    }
};

TEST_F(User32Keys, UnboundUntilUser32IsLoaded) {
    EXPECT_EQ(Bind(), nullptr);
    substitute::SetUser32Loaded(true);
    ASSERT_NE(Bind(), nullptr);
    EXPECT_EQ(GetModuleHandleA("USER32"), GetModuleHandleA("user32.dll"));
    char name[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(GetModuleHandleA("user32.dll"), name, sizeof name), 0u);
    EXPECT_STREQ(name, "C:\\Windows\\system32\\user32.dll");
    EXPECT_EQ(GetProcAddress(GetModuleHandleA("user32.dll"), "GetKeyStateX"), nullptr);
    substitute::SetUser32Loaded(false);
    EXPECT_EQ(Bind(), nullptr);
}

TEST_F(User32Keys, BitFifteenWhileDown) {
    substitute::SetUser32Loaded(true);
    const GetKeyStateFn getKeyState = Bind();
    ASSERT_NE(getKeyState, nullptr);
    substitute::SetKeyDown(162, true);  // left Ctrl
    substitute::SetKeyDown(0, true);
    substitute::SetKeyDown(255, true);
    substitute::SetKeyDown(256, true);  // ignored
    substitute::SetKeyDown(-1, true);   // ignored
    struct Case {
        int vk;
        SHORT expected;
    } const cases[] = {{162, SHORT(-0x8000)}, {0, SHORT(-0x8000)}, {255, SHORT(-0x8000)}, {161, 0},
                       {256, 0}, {-1, 0}, {1000, 0}, {-100000, 0}};
    for (const Case& c : cases) EXPECT_EQ(getKeyState(c.vk), c.expected) << "vk " << c.vk;
    EXPECT_NE(static_cast<uint16_t>(getKeyState(162)) & 0x8000, 0);
    substitute::SetKeyDown(162, false);
    EXPECT_EQ(getKeyState(162), 0);
    substitute::ResetKeys();
    EXPECT_EQ(getKeyState(0), 0);
    EXPECT_EQ(getKeyState(255), 0);
}

}  // namespace
