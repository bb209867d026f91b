// The saved-bytes object and the call redirection built on it.
#include <gtest/gtest.h>

#include "host/injector/scoped_basic.h"
#include "host/injector/scoped_call.h"
#include "platform/posix/substitute.h"
#include "scratch_code.h"

namespace {

constexpr uint32_t kArea = sim::kScratchStart + 0x3000;

uintptr_t At(const void* p) { return reinterpret_cast<uintptr_t>(p); }

void Fill(uint32_t address, std::array<uint8_t, 5> bytes) {
    std::memcpy(sim::GameBytes(address), bytes.data(), 5);
}

TEST(ScopedBasic, RestoreBytesPutsTheSavedBytesBackOnce) {
    Fill(kArea, {1, 2, 3, 4, 5});
    injector::scoped_basic<5> saved;
    saved.SaveBytes(HostAddress(kArea), 5, true);
    EXPECT_TRUE(saved.IsSaved());
    Fill(kArea, {9, 9, 9, 9, 9});
    saved.RestoreBytes();
    EXPECT_EQ(scratch::FiveBytesAt(kArea), (std::array<uint8_t, 5>{1, 2, 3, 4, 5}));
    EXPECT_FALSE(saved.IsSaved());
    Fill(kArea, {7, 7, 7, 7, 7});
    saved.RestoreBytes();
    EXPECT_EQ(scratch::FiveBytesAt(kArea), (std::array<uint8_t, 5>{7, 7, 7, 7, 7}));
}

TEST(ScopedBasic, DestructorPutsTheBytesBack) {
    Fill(kArea + 0x10, {1, 2, 3, 4, 5});
    {
        injector::scoped_basic<5> saved;
        saved.SaveBytes(HostAddress(kArea + 0x10), 3, false);
        Fill(kArea + 0x10, {0, 0, 0, 0, 0});
    }
    EXPECT_EQ(scratch::FiveBytesAt(kArea + 0x10), (std::array<uint8_t, 5>{1, 2, 3, 0, 0}));
}

TEST(ScopedBasic, SavingAgainFirstPutsTheEarlierBytesBack) {
    Fill(kArea + 0x20, {1, 1, 1, 1, 1});
    Fill(kArea + 0x30, {2, 2, 2, 2, 2});
    injector::scoped_basic<5> saved;
    saved.SaveBytes(HostAddress(kArea + 0x20), 5, true);
    Fill(kArea + 0x20, {0, 0, 0, 0, 0});
    saved.SaveBytes(HostAddress(kArea + 0x30), 5, true);
    EXPECT_EQ(scratch::FiveBytesAt(kArea + 0x20), (std::array<uint8_t, 5>{1, 1, 1, 1, 1}));
    Fill(kArea + 0x30, {0, 0, 0, 0, 0});
    saved.RestoreBytes();
    EXPECT_EQ(scratch::FiveBytesAt(kArea + 0x30), (std::array<uint8_t, 5>{2, 2, 2, 2, 2}));
}

TEST(ScopedBasic, ProtectFlagDecidesWhetherProtectionChanges) {
    injector::scoped_basic<5> saved;
    substitute::ResetSubstitute();
    saved.SaveBytes(HostAddress(kArea + 0x40), 5, false);
    saved.RestoreBytes();
    EXPECT_EQ(substitute::CallCount(substitute::Call::VirtualProtect), 0);
    saved.SaveBytes(HostAddress(kArea + 0x40), 5, true);
    saved.RestoreBytes();
    EXPECT_EQ(substitute::CallCount(substitute::Call::VirtualProtect), 4);
}

TEST(ScopedBasicDeathTest, MoreBytesThanTheBufferStop) {
    injector::scoped_basic<5> saved;
    EXPECT_DEATH(saved.SaveBytes(HostAddress(kArea + 0x50), 6, true),
                 "Assertion failed: size <= bufsize, file injector\\\\hooking, line 82");
}

TEST(ScopedCall, RedirectingAnswersThePreviousCalleeAndWritesTheNewCall) {
    const uint32_t site = kArea + 0x100;
    Fill(site, {0xE8, 0x10, 0x00, 0x00, 0x00});
    const void* destination = sim::GameBytes(kArea + 0x800);
    injector::scoped_call call;
    void* previous = call.RedirectCall(HostAddress(site), destination, true);
    EXPECT_EQ(At(previous), At(HostAddress(site)) + 0x15);
    EXPECT_EQ(scratch::FiveBytesAt(site), scratch::RelativeBranch(0xE8, site, destination));
    call.RestoreBytes();
    EXPECT_EQ(scratch::FiveBytesAt(site), (std::array<uint8_t, 5>{0xE8, 0x10, 0x00, 0x00, 0x00}));
}

TEST(ScopedCall, RedirectedCallRunsTheNewCallee) {
    const uint32_t site = kArea + 0x200;
    scratch::LayOutCall(site, kArea + 0x240, 0x11111111);
    sim::WriteGameCallee(kArea + 0x280, 0x22222222);
    injector::scoped_call call;
    call.RedirectCall(HostAddress(site), HostAddress(kArea + 0x280), true);
    EXPECT_EQ(sim::RunGameCode(site), 0x22222222u);
    call.RestoreBytes();
    EXPECT_EQ(sim::RunGameCode(site), 0x11111111u);
}

}  // namespace
