// Game addresses translated for the image where the process has it.
#include <gtest/gtest.h>

#include "host/host_address.h"
#include "host/module_base.h"
#include "platform/platform.h"
#include "sim/game_image.h"
#include "sim/release_scenario.h"

namespace {

uintptr_t At(const void* p) { return reinterpret_cast<uintptr_t>(p); }

TEST(HostAddressTest, ModuleBaseIsTheGameImage) {
    EXPECT_EQ(HostModuleBase(), sim::LoadedRelease().imageBase);
    EXPECT_EQ(HostModuleBase(), sim::GameImageBase());
}

TEST(HostAddressTest, ShiftsByTheDistanceOfTheImageFromItsPreferredBase) {
    const uintptr_t shift = sim::LoadedRelease().imageBase - 0x400000u;
    EXPECT_EQ(At(HostAddress(0x400000)), 0x400000u + shift);
    EXPECT_EQ(At(HostAddress(0x974B34)), 0x974B34u + shift);
    EXPECT_EQ(HostAddress(0x5BF3A1), sim::GameBytes(0x5BF3A1));
}

TEST(HostAddressTest, AddressZeroIsNullOnlyAtThePreferredBase) {
    // Unsigned 32-bit arithmetic: base + 0 - 0x400000.
    EXPECT_EQ(At(HostAddress(0)), static_cast<uint32_t>(sim::LoadedRelease().imageBase - 0x400000u));
    if (sim::LoadedRelease().imageBase == 0x400000) {
        EXPECT_EQ(HostAddress(0), nullptr);
    }
}

TEST(HostAddressTest, WrapsInThirtyTwoBits) {
    const uint32_t base = sim::LoadedRelease().imageBase;
    EXPECT_EQ(At(HostAddress(0x100000)), static_cast<uint32_t>(base + 0x100000u - 0x400000u));
}

}  // namespace
