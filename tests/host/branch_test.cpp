// Reading branch targets and writing jumps, the jumps then taken by running them.
#include <gtest/gtest.h>

#include "host/injector/branch.h"
#include "host/injector/write_jump.h"
#include "platform/posix/substitute.h"
#include "scratch_code.h"

namespace {

constexpr uint32_t kArea = sim::kScratchStart + 0x2000;

uintptr_t At(const void* p) { return reinterpret_cast<uintptr_t>(p); }

TEST(BranchDestinationTest, RelativeCallAndJump) {
    uint8_t* code = sim::GameBytes(kArea);
    const uint8_t call[] = {0xE8, 0x10, 0x00, 0x00, 0x00};
    std::memcpy(code, call, 5);
    EXPECT_EQ(At(injector::BranchDestination(code)), At(code) + 0x15);
    const uint8_t backJump[] = {0xE9, 0xF0, 0xFF, 0xFF, 0xFF};  // -16
    std::memcpy(code + 0x40, backJump, 5);
    EXPECT_EQ(At(injector::BranchDestination(code + 0x40)), At(code) + 0x40 + 5 - 16);
}

TEST(BranchDestinationTest, IndirectCallAndJumpThroughACell) {
    uint8_t* code = sim::GameBytes(kArea + 0x100);
    const uint32_t cellAddress = static_cast<uint32_t>(At(code + 0x20));
    const uint32_t target = 0x00654321;
    std::memcpy(code + 0x20, &target, 4);
    for (uint8_t form : {0x15, 0x25}) {
        const uint8_t indirect[] = {0xFF, form};
        std::memcpy(code, indirect, 2);
        std::memcpy(code + 2, &cellAddress, 4);
        EXPECT_EQ(At(injector::BranchDestination(code)), target);
    }
}

TEST(BranchDestinationTest, AnythingElseIsNull) {
    uint8_t* code = sim::GameBytes(kArea + 0x200);
    const uint8_t other[] = {0xFF, 0x35, 0, 0, 0, 0};  // push [m32]
    std::memcpy(code, other, sizeof other);
    EXPECT_EQ(injector::BranchDestination(code), nullptr);
    code[0] = 0x55;  // push ebp
    EXPECT_EQ(injector::BranchDestination(code), nullptr);
}

TEST(WriteJumpTest, BackwardsJumpHasANegativeOffsetAndRuns) {
    const uint32_t routine = kArea + 0x300;
    const uint32_t entry = kArea + 0x380;
    sim::WriteGameCallee(routine, 0x600DF00D);
    injector::WriteJump(entry, HostAddress(routine));
    EXPECT_EQ(scratch::FiveBytesAt(entry), scratch::RelativeBranch(0xE9, entry, HostAddress(routine)));
    int32_t offset = 0;
    std::memcpy(&offset, sim::GameBytes(entry + 1), 4);
    EXPECT_EQ(offset, -0x85);  // 0x300 - (0x380 + 5)
    EXPECT_EQ(sim::RunGameCode(entry), 0x600DF00Du);
    EXPECT_EQ(sim::GameCalleeCalls(routine), 1u);
}

TEST(WriteJumpTest, ForwardJumpRuns) {
    const uint32_t entry = kArea + 0x400;
    const uint32_t routine = kArea + 0x480;
    sim::WriteGameCallee(routine, 0x0000BEEF);
    injector::WriteJump(entry, HostAddress(routine));
    int32_t offset = 0;
    std::memcpy(&offset, sim::GameBytes(entry + 1), 4);
    EXPECT_EQ(offset, 0x7B);
    EXPECT_EQ(sim::RunGameCode(entry), 0x0000BEEFu);
}

TEST(WriteJumpTest, WritesAtTheImagesAddressOfTheSite) {
    const uint32_t entry = kArea + 0x500;
    injector::WriteJump(entry, HostAddress(kArea + 0x580));
    EXPECT_EQ(sim::GameBytes(entry)[0], 0xE9);
    EXPECT_EQ(At(injector::BranchDestination(HostAddress(entry))), At(sim::GameBytes(kArea + 0x580)));
}

// A call and a jump alike: the five bytes go in under one protection change (a change and its
// restore), and exactly those five bytes are flushed from the instruction cache afterwards.
TEST(WriteBranchTest, FiveBytesInOneProtectedWriteThenFlushed) {
    const struct Case {
        uint8_t opcode;
        uint32_t site;
    } cases[] = {{0xE8, kArea + 0x600}, {0xE9, kArea + 0x640}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "opcode " << int(c.opcode));
        substitute::ResetSubstitute();
        substitute::ClearInstructionFlushes();
        injector::WriteRelativeBranch(HostAddress(c.site), c.opcode, HostAddress(kArea + 0x6C0));
        EXPECT_EQ(scratch::FiveBytesAt(c.site),
                  scratch::RelativeBranch(c.opcode, c.site, HostAddress(kArea + 0x6C0)));
        EXPECT_EQ(substitute::CallCount(substitute::Call::VirtualProtect), 2);
        ASSERT_EQ(substitute::InstructionFlushes().size(), 1u);
        EXPECT_EQ(substitute::InstructionFlushes()[0].address, HostAddress(c.site));
        EXPECT_EQ(substitute::InstructionFlushes()[0].size, 5u);
    }
}

}  // namespace
