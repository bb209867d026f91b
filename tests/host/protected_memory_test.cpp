// Protected reads and writes of game code.
#include <gtest/gtest.h>
#include <sys/mman.h>

#include "host/injector/branch.h"
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

// Where VirtualQuery finds no committed memory nothing is read or written, even when the
// protection change fails; a committed page that refuses reads is read only once opened.
TEST_F(ProtectedMemory, NothingIsTouchedWhereVirtualQueryFindsNoReadableMemory) {
    // A page that refuses reads, then a hole where nothing is mapped, then a page kept so that
    // nothing else is put in the hole while the test runs.
    auto* pages = static_cast<uint8_t*>(
        mmap(nullptr, 3 * 4096, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(pages, MAP_FAILED);
    ASSERT_EQ(mprotect(pages, 4096, PROT_NONE), 0);
    ASSERT_EQ(munmap(pages + 4096, 4096), 0);
    void* locked = pages;
    void* freed = pages + 4096;
    const struct Case {
        const char* what;
        void* at;
        bool protectFails;
        bool reads;
    } cases[] = {
        {"nothing mapped", freed, false, false},
        {"nothing mapped, no protection change", freed, true, false},
        {"no access, opened by the change", locked, false, true},
        {"no access, the change refused", locked, true, false},
        {"game code, the change refused", HostAddress(kCode + 8), true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        substitute::ResetSubstitute();
        if (c.protectFails) substitute::FailCallAlways(substitute::Call::VirtualProtect);
        uint8_t read = 0x5A;
        EXPECT_EQ(injector::ProtectedRead(c.at, &read, 1), c.reads);
        if (!c.reads) {
            EXPECT_EQ(read, 0x5A);
        }
        if (c.at == freed) {
            const uint8_t bytes[] = {0xE9, 0, 0, 0, 0};
            EXPECT_FALSE(injector::ProtectedWrite(c.at, bytes, sizeof bytes));
            EXPECT_EQ(injector::BranchDestination(c.at), nullptr);
        }
    }
    DWORD previous = 0;
    VirtualProtect(locked, 1, PAGE_NOACCESS, &previous);  // as it was mapped
    munmap(pages, 3 * 4096);
}

}  // namespace
