// Code the injector tests lay out in the image's scratch area, each test at its own addresses.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

#include "host/host_address.h"
#include "platform/platform.h"
#include "sim/game_code.h"
#include "sim/game_image.h"

namespace scratch {

// A call site at `site` to a fresh callee at `callee` returning `result`.
inline void LayOutCall(uint32_t site, uint32_t callee, uint32_t result) {
    sim::WriteGameCallee(callee, result);
    sim::WriteCallSite(site, callee);
}

inline std::array<uint8_t, 5> FiveBytesAt(uint32_t address) {
    std::array<uint8_t, 5> bytes;
    std::memcpy(bytes.data(), HostAddress(address), 5);
    return bytes;
}

// E8 or E9 followed by the offset from the next instruction to `destination`.
inline std::array<uint8_t, 5> RelativeBranch(uint8_t opcode, uint32_t address, const void* destination) {
    const uint32_t next = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(HostAddress(address))) + 5;
    const uint32_t offset = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(destination)) - next;
    std::array<uint8_t, 5> bytes = {opcode};
    std::memcpy(bytes.data() + 1, &offset, 4);
    return bytes;
}

inline DWORD ProtectPage(uint32_t address, DWORD protect) {
    DWORD previous = 0;
    VirtualProtect(HostAddress(address), 1, protect, &previous);
    return previous;
}

}  // namespace scratch
