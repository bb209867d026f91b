// Which call sites the events redirect: those of the running release, and only those.
#include <gtest/gtest.h>

#include <set>

#include "event_sites.h"
#include "platform/platform.h"
#include "platform/posix/substitute.h"
#include "sim/release_scenario.h"
#include "tests/support/release_test.h"

namespace {

using namespace event_sites;

std::set<uint32_t> RedirectedSites() {
    std::set<uint32_t> redirected;
    for (const Site& s : AllSites())
        if (RedirectedTo(s)) redirected.insert(s.address);
    return redirected;
}

TEST(EventSites, TheRunningReleasesSitesCallTheirDispatchers) {
    InstallEveryEvent();
    for (const Site& s : RunningSites(AllSites())) {
        EXPECT_TRUE(RedirectedTo(s)) << std::hex << s.address;
        EXPECT_EQ(substitute::PageProtection(HostAddress(s.address)), PAGE_EXECUTE_READ)
            << "protection not put back at " << std::hex << s.address;
    }
}

TEST(EventSites, OtherReleasesSitesAreLeftAsTheyWere) {
    InstallEveryEvent();
    for (const Site& s : AllSites()) {
        if (IsRunningSite(s.address)) continue;  // the running release's call, listed again
        EXPECT_FALSE(RedirectedTo(s)) << std::hex << s.address;
        const auto laidOut = sim::LaidOutSiteBytes(s.address);
        const uint8_t* at = static_cast<const uint8_t*>(HostAddress(s.address));
        for (uint32_t i = 0; i < 5; ++i)
            if (!InsideRunningCall(s.address + i)) {  // a call of this release may overlap it
                EXPECT_EQ(at[i], laidOut[i]) << std::hex << s.address << "+" << i;
            }
    }
}

bool Laid(sim::Game game, int32_t code) {
    return sim::LoadedRelease().game == game && sim::LoadedRelease().code == code;
}

RELEASE_TEST(EventSites, ViceCity110HooksOnlyItsThreeCalls, Laid(sim::Game::VC, 110)) {
    InstallEveryEvent();
    EXPECT_EQ(RedirectedSites(), (std::set<uint32_t>{0x4A5B8B, 0x4A5DC0, 0x4A5BAE}));
}

RELEASE_TEST(EventSites, SanAndreas1001And1002HookTheSameThreeCalls,
             Laid(sim::Game::SA, 1001) || Laid(sim::Game::SA, 1002)) {
    InstallEveryEvent();
    EXPECT_EQ(RedirectedSites(), (std::set<uint32_t>{0x5BF3A1, 0x53E981, 0x53D910}));
}

RELEASE_TEST(EventSites, ReleaseWithoutReferencesHooksNothing, !ScenarioHasSites(AllSites())) {
    InstallEveryEvent();
    EXPECT_TRUE(RedirectedSites().empty());
    for (const Site& s : AllSites()) EXPECT_TRUE(AsLaidOut(s.address)) << std::hex << s.address;
    EXPECT_TRUE(plugin::RwStartupEvent().installed);
    EXPECT_TRUE(substitute::MessageBoxes().empty());
}

TEST(EventSites, SitesAreWhereTheImageIs) {
    InstallEveryEvent();
    for (const Site& s : RunningSites(AllSites())) {
        EXPECT_EQ(sim::GameBytes(s.address)[0], 0xE8);
        EXPECT_EQ(HostAddress(s.address), sim::GameBytes(s.address));
    }
}

}  // namespace
