// Release detection over the build's signature table, on the image the stand-in laid out.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <iterator>

#include "games/selected_game.h"
#include "host/host_address.h"
#include "host/host_version.h"
#include "platform/platform.h"
#include "platform/posix/substitute.h"
#include "sim/game_image.h"
#include "sim/release_scenario.h"
#include "tests/support/release_test.h"

namespace {

constexpr auto& kTable = selected_game::kVersionSignatures;

uint32_t ImageValue(uint32_t address) {
    uint32_t value = 0;
    std::memcpy(&value, sim::GameBytes(address), 4);
    return value;
}

bool RowMatchesImage(const games::VersionSignature& row) {
    return ImageValue(row.probeAddress) == row.expected;
}

// Each probe is one protection change and one change back.
int ProtectionCallsUpTo(int32_t code) {
    for (size_t i = 0; i < std::size(kTable); ++i)
        if (kTable[i].code == code) return 2 * static_cast<int>(i + 1);
    return 2 * static_cast<int>(std::size(kTable));
}

class Detection : public testing::Test {
protected:
    void SetUp() override { substitute::ResetSubstitute(); }
    void TearDown() override { substitute::ResetSubstitute(); }
};

sim::Game BuildGame() {
#if defined(GAME_III)
    return sim::Game::III;
#elif defined(GAME_VC)
    return sim::Game::VC;
#else
    return sim::Game::SA;
#endif
}

TEST_F(Detection, ImageIsLaidOutForThisBuildsGame) {
    EXPECT_EQ(sim::LoadedRelease().game, BuildGame())
        << "run under a scenario: SIM_GAME and SIM_RELEASE name the release (see ctest)";
}

TEST_F(Detection, FindsTheReleaseTheImageIsOf) {
    EXPECT_EQ(HostVersion(), sim::LoadedRelease().code);
}

TEST_F(Detection, StopsReadingAtTheFirstMatchingProbe) {
    EXPECT_EQ(DetectHostVersion(), sim::LoadedRelease().code);
    EXPECT_EQ(substitute::CallCount(substitute::Call::VirtualProtect),
              ProtectionCallsUpTo(sim::LoadedRelease().code));
}

bool ViceCityImageMatchingEveryProbe() {
    if (sim::LoadedRelease().game != sim::Game::VC) return false;
    for (const games::VersionSignature& row : kTable)
        if (!RowMatchesImage(row)) return false;
    return true;
}

bool SanAndreasImage() { return sim::LoadedRelease().game == sim::Game::SA; }

bool EntryHoldsTheJumpOf1002() {
    const uint8_t* entry = sim::GameBytes(0x401000);
    return entry[0] == 0xE9 && entry[1] == 0x7B && entry[2] == 0x19 && entry[3] == 0x16;
}

RELEASE_TEST_F(Detection, ViceCityImageMatchingEveryProbeIsRelease100,
               ViceCityImageMatchingEveryProbe()) {
    EXPECT_EQ(HostVersion(), 100);
    EXPECT_EQ(DetectHostVersion(), 100);
}

RELEASE_TEST_F(Detection, SanAndreasJumpAtTheEntryIsRelease1002,
               SanAndreasImage() && EntryHoldsTheJumpOf1002()) {
    EXPECT_EQ(HostVersion(), 1002);
}

RELEASE_TEST_F(Detection, SanAndreasWithNeitherEntryPatternFallsThroughToLaterProbes,
               SanAndreasImage() && !RowMatchesImage(kTable[0]) && !RowMatchesImage(kTable[1])) {
    EXPECT_NE(ImageValue(0x401000), 0u) << "the entry holds code, just not a signature";
    EXPECT_EQ(HostVersion(), sim::LoadedRelease().code);
    EXPECT_NE(HostVersion(), 1001);
    EXPECT_NE(HostVersion(), 1002);
}

TEST_F(Detection, ProbesReadAtTheImagesOwnAddresses) {
    for (const games::VersionSignature& row : kTable)
        EXPECT_EQ(HostAddress(row.probeAddress), sim::GameBytes(row.probeAddress));
}

TEST_F(Detection, ReadsEvenWhenTheProtectionChangeFails) {
    substitute::FailCallAlways(substitute::Call::VirtualProtect);
    EXPECT_EQ(DetectHostVersion(), sim::LoadedRelease().code);
    // Only the failed changes: nothing to put back.
    EXPECT_EQ(substitute::CallCount(substitute::Call::VirtualProtect),
              ProtectionCallsUpTo(sim::LoadedRelease().code) / 2);
}

TEST_F(Detection, PutsTheProbedPagesProtectionBack) {
    void* probe = HostAddress(kTable[0].probeAddress);
    DWORD mapped = 0;
    ASSERT_TRUE(VirtualProtect(probe, 4, PAGE_READONLY, &mapped));
    DetectHostVersion();
    EXPECT_EQ(substitute::PageProtection(probe), PAGE_READONLY);
    DWORD scratch = 0;
    VirtualProtect(probe, 4, mapped, &scratch);
}

TEST_F(Detection, CodeIsKeptForTheProcessEvenWhenZero) {
    const int32_t first = HostVersion();
    substitute::ResetSubstitute();
    EXPECT_EQ(HostVersion(), first);
    EXPECT_EQ(substitute::CallCount(substitute::Call::VirtualProtect), 0);
}

RELEASE_TEST_F(Detection, UnrecognisedReleaseShowsNoMessage, sim::LoadedRelease().code == 0) {
    EXPECT_EQ(HostVersion(), 0);
    EXPECT_TRUE(substitute::MessageBoxes().empty());
}

// A changed or packed executable can leave a probe where nothing is mapped: with every probe
// page gone the release is unknown, and the probes fault nothing. In a child, as the image
// stays whole for the other tests.
TEST_F(Detection, ProbesWhereNothingIsMappedMatchNothing) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
            for (const games::VersionSignature& row : kTable) {
                const uintptr_t at = reinterpret_cast<uintptr_t>(HostAddress(row.probeAddress));
                munmap(reinterpret_cast<void*>(at & ~(page - 1)), 2 * page);
            }
            std::_Exit(DetectHostVersion() == 0 ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
