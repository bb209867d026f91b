// Protected reads and writes of game code.
#include <gtest/gtest.h>

#include "host/injector/protected_memory.h"
#include "platform/posix/substitute.h"
#include "scratch_code.h"

namespace {

constexpr uint32_t kCode = sim::kScratchStart + 0x1000;  // a page of its own

class ProtectedMemory : public testing::Test {
protected:
    void SetUp() override {
        sim::GameBytes(kCode + 8)[0] = 0xAB;
        scratch::ProtectPage(kCode, PAGE_EXECUTE_READ);  // as game code is
        substitute::ResetSubstitute();
    }
    void TearDown() override {
        substitute::ResetSubstitute();
        scratch::ProtectPage(kCode, PAGE_EXECUTE_READWRITE);
    }
};

TEST_F(ProtectedMemory, WriteOpensTheCodeAndClosesItAgain) {
    const uint8_t bytes[] = {0x90, 0x90, 0xC3};
    injector::ProtectedWrite(HostAddress(kCode), bytes, sizeof bytes);
    EXPECT_EQ(std::memcmp(HostAddress(kCode), bytes, sizeof bytes), 0);
    EXPECT_EQ(substitute::CallCount(substitute::Call::VirtualProtect), 2);
    EXPECT_EQ(substitute::PageProtection(HostAddress(kCode)), PAGE_EXECUTE_READ);
}

TEST_F(ProtectedMemory, ReadOpensTheCodeAndClosesItAgain) {
    uint8_t read = 0;
    injector::ProtectedRead(HostAddress(kCode + 8), &read, 1);
    EXPECT_EQ(read, 0xAB);
    EXPECT_EQ(substitute::CallCount(substitute::Call::VirtualProtect), 2);
    EXPECT_EQ(substitute::PageProtection(HostAddress(kCode)), PAGE_EXECUTE_READ);
}

TEST_F(ProtectedMemory, FailedChangeStillReadsButWritesNothingAndPutsNothingBack) {
    substitute::FailCallAlways(substitute::Call::VirtualProtect);
    const uint8_t bytes[] = {0xCC, 0xCC};
    const uint8_t before = sim::GameBytes(kCode + 16)[0];
    injector::ProtectedWrite(HostAddress(kCode + 16), bytes, sizeof bytes);  // would fault
    EXPECT_EQ(sim::GameBytes(kCode + 16)[0], before);
    uint8_t read = 0;
    injector::ProtectedRead(HostAddress(kCode + 8), &read, 1);
    EXPECT_EQ(read, 0xAB);
    EXPECT_EQ(substitute::CallCount(substitute::Call::VirtualProtect), 2);
    EXPECT_EQ(substitute::PageProtection(HostAddress(kCode)), PAGE_EXECUTE_READ);
}

}  // namespace
