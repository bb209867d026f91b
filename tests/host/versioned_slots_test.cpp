// The versioned slots: filled at load for the running release, read afterwards.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "games/selected_game.h"
#include "host/host_address.h"
#include "host/host_version.h"
#include "host/select_by_version.h"
#include "host/versioned_slots.h"
#include "platform/posix/substitute.h"
#include "sim/game_image.h"
#include "sim/release_scenario.h"
#include "tests/support/release_test.h"

namespace {

constexpr auto& kTable = selected_game::kVersionedAddresses;
using Slot = selected_game::VersionedSlot;

// The running release's address among three written out for releases 100, 110 and 120,
// moved with the image; an unrecognised release gets address 0.
uintptr_t Literal(uint32_t at100, uint32_t at110, uint32_t at120) {
    const uint32_t shift = sim::LoadedRelease().imageBase - 0x400000u;
    switch (sim::LoadedRelease().code) {
        case 100: return at100 + shift;
        case 110: return at110 + shift;
        case 120: return at120 + shift;
        default: return shift;
    }
}

// Slots named with their addresses as written in the games' address lists: the first, one in
// the middle and the last of each table, so a shifted row or column shows.
struct NamedSlot {
    const char* name;
    Slot slot;
    uint32_t at100, at110, at120;
};
#if defined(GAME_VC)
const NamedSlot kNamedSlots[] = {
    {"HostPad", Slot::HostPad, 0x4AB060, 0x4AB080, 0x4AAF30},
    {"HostClock", Slot::HostClock, 0x974B2C, 0x974B34, 0x973B34},
    {"HostSuppressFlags2", Slot::HostSuppressFlags2, 0xA10B76, 0xA10B7F, 0xA0FB80},
};
#elif defined(GAME_III)
const NamedSlot kNamedSlots[] = {
    {"HostSpriteDraw", Slot::HostSpriteDraw, 0x51ED50, 0x51EF80, 0x51EF10},
    {"HostAudio", Slot::HostAudio, 0x95CDBE, 0x95CF76, 0x96D0B6},
    {"HostClock", Slot::HostClock, 0x885B48, 0x885AF8, 0x895C38},
    {"HostSuppressFlags3Owner", Slot::HostSuppressFlags3Owner, 0x6FACF8, 0x6FACF8, 0x70AE38},
};
#else
const std::vector<NamedSlot> kNamedSlots;  // San Andreas moves nothing between releases
#endif

// What a default-priority static initialiser, as the plug-in's entry object is, finds.
struct SlotsSeenAtLoad {
    void* seen[kTable.size() + 1] = {};
    SlotsSeenAtLoad() {
        for (size_t i = 0; i < kTable.size(); ++i) seen[i] = HostVersionedSlot(static_cast<Slot>(i));
    }
};
const SlotsSeenAtLoad slotsSeenAtLoad;

// San Andreas moves nothing between releases: it has no slots.
bool GameHasSlots() { return kTable.size() != 0; }

RELEASE_TEST(VersionedSlots, HoldTheRunningReleasesAddresses, GameHasSlots()) {
    for (const NamedSlot& named : kNamedSlots)
        EXPECT_EQ(reinterpret_cast<uintptr_t>(HostVersionedSlot(named.slot)),
                  Literal(named.at100, named.at110, named.at120))
            << named.name;
}

RELEASE_TEST(VersionedSlots, AreFilledBeforeDefaultPriorityInitialisers, GameHasSlots()) {
    for (size_t i = 0; i < kTable.size(); ++i)
        EXPECT_EQ(slotsSeenAtLoad.seen[i], HostVersionedSlot(static_cast<Slot>(i))) << "slot " << i;
}

RELEASE_TEST(VersionedSlots, UnrecognisedReleaseLeavesEverySlotAtAddressZero,
             GameHasSlots() && sim::LoadedRelease().code == 0) {
    for (size_t i = 0; i < kTable.size(); ++i)
        EXPECT_EQ(HostVersionedSlot(static_cast<Slot>(i)), HostAddress(0)) << "slot " << i;
}

TEST(VersionedSlots, ReadingThemProbesNothing) {
    HostVersion();  // San Andreas detects on first use; the others did at load
    substitute::ResetSubstitute();
    for (size_t i = 0; i < kTable.size(); ++i) HostVersionedSlot(static_cast<Slot>(i));
    HostVersion();
    EXPECT_EQ(substitute::CallCount(substitute::Call::VirtualProtect), 0);
}

TEST(SelectByVersionTest, PicksTheRunningCodesAddress) {
    const games::VersionedAddress clock = {0x974B2C, 0x974B34, 0x973B34};
    const uintptr_t expected = Literal(0x974B2C, 0x974B34, 0x973B34);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(SelectByVersion(clock)), expected);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(SelectByVersion(0x974B2C, 0x974B34, 0x973B34)), expected);
}

}  // namespace
