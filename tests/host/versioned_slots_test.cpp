// The versioned slots: filled at load for the running release, read afterwards.
#include <gtest/gtest.h>

#include <cstddef>

#include "games/selected_game.h"
#include "host/host_address.h"
#include "host/host_version.h"
#include "host/select_by_version.h"
#include "host/versioned_slots.h"
#include "platform/posix/substitute.h"
#include "sim/game_image.h"
#include "sim/release_scenario.h"

namespace {

constexpr auto& kTable = selected_game::kVersionedAddresses;
using Slot = selected_game::VersionedSlot;

void* Expected(const games::VersionedAddress& address) {
    switch (sim::LoadedRelease().code) {
        case 100: return HostAddress(address.at100);
        case 110: return HostAddress(address.at110);
        case 120: return HostAddress(address.at120);
        default: return HostAddress(0);
    }
}

// What a default-priority static initialiser, as the plug-in's entry object is, finds.
struct SlotsSeenAtLoad {
    void* seen[kTable.size() + 1] = {};
    SlotsSeenAtLoad() {
        for (size_t i = 0; i < kTable.size(); ++i) seen[i] = HostVersionedSlot(static_cast<Slot>(i));
    }
};
const SlotsSeenAtLoad slotsSeenAtLoad;

TEST(VersionedSlots, HoldTheRunningReleasesAddresses) {
    if (kTable.size() == 0) GTEST_SKIP() << "this game has no versioned addresses";
    for (size_t i = 0; i < kTable.size(); ++i)
        EXPECT_EQ(HostVersionedSlot(static_cast<Slot>(i)), Expected(kTable[i])) << "slot " << i;
}

TEST(VersionedSlots, AreFilledBeforeDefaultPriorityInitialisers) {
    if (kTable.size() == 0) GTEST_SKIP() << "this game has no versioned addresses";
    for (size_t i = 0; i < kTable.size(); ++i)
        EXPECT_EQ(slotsSeenAtLoad.seen[i], Expected(kTable[i])) << "slot " << i;
}

TEST(VersionedSlots, UnrecognisedReleaseLeavesEverySlotAtAddressZero) {
    if (kTable.size() == 0) GTEST_SKIP() << "this game has no versioned addresses";
    if (sim::LoadedRelease().code != 0) GTEST_SKIP() << "a recognised release";
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
    EXPECT_EQ(SelectByVersion(clock), Expected(clock));
    EXPECT_EQ(SelectByVersion(0x974B2C, 0x974B34, 0x973B34), Expected(clock));
}

#if defined(GAME_VC)
TEST(VersionedSlots, ViceCityClockOfTheRunningRelease) {
    const uint32_t shift = sim::LoadedRelease().imageBase - 0x400000u;
    const uintptr_t clock = reinterpret_cast<uintptr_t>(HostVersionedSlot(Slot::HostClock));
    switch (sim::LoadedRelease().code) {
        case 100: EXPECT_EQ(clock, 0x974B2Cu + shift); break;
        case 110: EXPECT_EQ(clock, 0x974B34u + shift); break;
        case 120: EXPECT_EQ(clock, 0x973B34u + shift); break;
        default: EXPECT_EQ(clock, static_cast<uint32_t>(shift)); break;
    }
}
#endif

#if defined(GAME_III)
TEST(VersionedSlots, ThreeAudioObjectOfTheRunningRelease) {
    const uint32_t shift = sim::LoadedRelease().imageBase - 0x400000u;
    const uintptr_t audio = reinterpret_cast<uintptr_t>(HostVersionedSlot(Slot::HostAudio));
    switch (sim::LoadedRelease().code) {
        case 100: EXPECT_EQ(audio, 0x95CDBEu + shift); break;
        case 110: EXPECT_EQ(audio, 0x95CF76u + shift); break;
        case 120: EXPECT_EQ(audio, 0x96D0B6u + shift); break;
        default: EXPECT_EQ(audio, static_cast<uint32_t>(shift)); break;
    }
}
#endif

}  // namespace
