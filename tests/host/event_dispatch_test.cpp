// Raising the events: the game executes a redirected call, the handlers run around its callee.
#include <gtest/gtest.h>

#include <vector>

#include "event_sites.h"
#include "sim/release_scenario.h"
#include "tests/support/release_test.h"

namespace {

using namespace event_sites;

// What each handler saw of the callee: its call count when the handler ran.
std::vector<uint32_t> frameAfterSaw;
std::vector<uint32_t> shutdownBeforeSaw;
std::vector<uint32_t> startupAfterSaw;
uint32_t watchedCallee = 0;

void FrameAfter() { frameAfterSaw.push_back(sim::GameCalleeCalls(watchedCallee)); }
void ShutdownBefore() { shutdownBeforeSaw.push_back(sim::GameCalleeCalls(watchedCallee)); }
void StartupAfter() { startupAfterSaw.push_back(sim::GameCalleeCalls(watchedCallee)); }

// Runs the site as the game does and checks what came back.
void RunSite(const Site& site, std::vector<uint32_t>& seen) {
    watchedCallee = sim::EventCallee(site.address);
    ASSERT_NE(watchedCallee, 0u);
    const uint32_t callsBefore = sim::GameCalleeCalls(watchedCallee);
    seen.clear();
    EXPECT_EQ(sim::RunGameCode(site.address), sim::EventCalleeResult(site.address));
    EXPECT_EQ(sim::GameCalleeCalls(watchedCallee), callsBefore + 1) << "the game's callee runs once";
}

RELEASE_TEST(EventDispatch, AfterHandlersRunOnceTheCalleeHasReturned,
             ScenarioHasSites(FrameSites())) {
    plugin::AddAfter(plugin::FrameProcessEvent(), &FrameAfter);
    const auto sites = RunningSites(FrameSites());
    ASSERT_FALSE(sites.empty());
    for (const Site& site : sites) {
        RunSite(site, frameAfterSaw);
        const uint32_t callsAfter = sim::GameCalleeCalls(watchedCallee);
        EXPECT_EQ(frameAfterSaw, std::vector<uint32_t>{callsAfter});
    }
}

RELEASE_TEST(EventDispatch, BeforeHandlersRunAheadOfTheCallee, ScenarioHasSites(ShutdownSites())) {
    plugin::AddBefore(plugin::RwShutdownEvent(), &ShutdownBefore);
    const auto sites = RunningSites(ShutdownSites());
    ASSERT_FALSE(sites.empty());
    for (const Site& site : sites) {
        const uint32_t callsBefore = sim::GameCalleeCalls(sim::EventCallee(site.address));
        RunSite(site, shutdownBeforeSaw);
        EXPECT_EQ(shutdownBeforeSaw, std::vector<uint32_t>{callsBefore});
    }
}

RELEASE_TEST(EventDispatch, StartupHandlerRunsAfterTheStartupCall, ScenarioHasSites(StartupSites())) {
    plugin::AddAfter(plugin::RwStartupEvent(), &StartupAfter);
    const auto sites = RunningSites(StartupSites());
    ASSERT_FALSE(sites.empty());
    for (const Site& site : sites) {
        RunSite(site, startupAfterSaw);
        EXPECT_EQ(startupAfterSaw, std::vector<uint32_t>{sim::GameCalleeCalls(watchedCallee)});
    }
}

// Handlers that reach for the return register, as far as C++ lets them: they return nothing,
// and the game still gets its callee's value.
uint32_t clobber = 0;
void Busy() {
    for (int i = 0; i < 100; ++i) clobber = clobber * 31 + static_cast<uint32_t>(i);
}

RELEASE_TEST(EventDispatch, TheCalleesResultReachesTheGameUnchanged, ScenarioHasSites(AllSites())) {
    plugin::AddBefore(plugin::RwStartupEvent(), &Busy);
    plugin::AddAfter(plugin::RwStartupEvent(), &Busy);
    plugin::AddBefore(plugin::FrameProcessEvent(), &Busy);
    plugin::AddAfter(plugin::FrameProcessEvent(), &Busy);
    plugin::AddBefore(plugin::RwShutdownEvent(), &Busy);
    plugin::AddAfter(plugin::RwShutdownEvent(), &Busy);
    const auto sites = RunningSites(AllSites());
    ASSERT_FALSE(sites.empty());
    for (const Site& site : sites) {
        EXPECT_TRUE(RedirectedTo(site));
        EXPECT_EQ(sim::RunGameCode(site.address), sim::EventCalleeResult(site.address))
            << std::hex << site.address;
    }
}

}  // namespace
