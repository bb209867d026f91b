#include "game_code.h"

#include <cstring>

#include "game_image.h"

namespace sim {
namespace {

bool Is64Bit() { return sizeof(void*) == 8; }

uint32_t Address32(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

void Put32(uint8_t* at, uint32_t value) { std::memcpy(at, &value, 4); }

}  // namespace

void WriteGameCallee(uint32_t address, uint32_t result) {
    uint8_t* at = GameBytes(address);
    at[0] = 0xFF;
    at[1] = 0x05;
    // x86-64 counts from the next instruction (address + 6); i686 names the cell itself.
    Put32(at + 2, Is64Bit() ? 12 - 6 : Address32(at + 12));
    at[6] = 0xB8;
    Put32(at + 7, result);
    at[11] = 0xC3;
    Put32(at + 12, 0);
}

uint32_t GameCalleeCalls(uint32_t address) {
    uint32_t calls = 0;
    std::memcpy(&calls, GameBytes(address + 12), 4);
    return calls;
}

void WriteCallSite(uint32_t site, uint32_t callee) {
    uint8_t* at = GameBytes(site);
    at[0] = 0xE8;
    Put32(at + 1, callee - (site + 5));
    at[5] = 0xC3;
}

void WriteLauncher() {
    uint8_t* at = GameBytes(kLauncherAddress);
    if (Is64Bit()) {
        // call rdi; ret. The site is entered 16-byte aligned, so the call it makes lands in
        // its callee with the stack as the x86-64 convention has it.
        const uint8_t code[] = {0xFF, 0xD7, 0xC3};
        std::memcpy(at, code, sizeof code);
    } else {
        // mov eax, [esp+4]; call eax; ret
        const uint8_t code[] = {0x8B, 0x44, 0x24, 0x04, 0xFF, 0xD0, 0xC3};
        std::memcpy(at, code, sizeof code);
    }
}

const void* BranchTarget(uint32_t address) {
    const uint8_t* at = GameBytes(address);
    if (at[0] != 0xE8 && at[0] != 0xE9) return nullptr;
    int32_t offset = 0;
    std::memcpy(&offset, at + 1, 4);
    return at + 5 + offset;
}

uint32_t RunGameCode(uint32_t address) {
    using Launcher = uint32_t (*)(uintptr_t);
    auto launch = reinterpret_cast<Launcher>(GameBytes(kLauncherAddress));
    return launch(reinterpret_cast<uintptr_t>(GameBytes(address)));
}

}  // namespace sim
