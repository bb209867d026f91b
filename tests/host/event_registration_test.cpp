// Registering handlers: the duplicate rule, later handlers, and one installation per event.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "event_sites.h"
#include "platform/posix/substitute.h"

namespace {

using namespace event_sites;

int onceRuns = 0;
int twiceRuns = 0;
int laterRuns = 0;
void Once() { ++onceRuns; }
void Twice() { ++twiceRuns; }
void Later() { ++laterRuns; }

// Runs every running-release site of `sites` once (none in a release without them).
void Raise(const std::vector<Site>& sites) {
    for (const Site& site : RunningSites(sites)) sim::RunGameCode(site.address);
}

template <class Event>
size_t CountEntries(const std::vector<typename Event::HandlerEntry>& list, void (*function)()) {
    size_t count = 0;
    for (const auto& entry : list) {
        auto* held = entry.handler.template target<void (*)()>();
        if (held && *held == function) ++count;
    }
    return count;
}

TEST(EventRegistration, SamePlainFunctionTwiceOnOneListIsKeptOnce) {
    auto& event = plugin::FrameProcessEvent();
    plugin::AddAfter(event, &Once);
    plugin::AddAfter(event, &Once);
    EXPECT_EQ(CountEntries<std::decay_t<decltype(event)>>(event.after, &Once), 1u);
    onceRuns = 0;
    Raise(FrameSites());
    EXPECT_EQ(onceRuns, static_cast<int>(RunningSites(FrameSites()).size()));
}

TEST(EventRegistration, SamePlainFunctionOnBothListsRunsTwice) {
    auto& event = plugin::RwShutdownEvent();
    plugin::AddBefore(event, &Twice);
    plugin::AddAfter(event, &Twice);
    using Event = std::decay_t<decltype(event)>;
    EXPECT_EQ(CountEntries<Event>(event.before, &Twice), 1u);
    EXPECT_EQ(CountEntries<Event>(event.after, &Twice), 1u);
    twiceRuns = 0;
    Raise(ShutdownSites());
    EXPECT_EQ(twiceRuns, 2 * static_cast<int>(RunningSites(ShutdownSites()).size()));
}

TEST(EventRegistration, LaterHandlerJoinsWithoutASecondHook) {
    auto& event = plugin::RwStartupEvent();
    plugin::AddAfter(event, &Nothing);  // installs the event if nothing has yet
    ASSERT_TRUE(event.installed);
    std::vector<std::vector<uint8_t>> before;
    for (const Site& s : AllSites()) {
        const uint8_t* at = static_cast<const uint8_t*>(HostAddress(s.address));
        before.emplace_back(at, at + 5);
    }
    substitute::ResetSubstitute();
    plugin::AddAfter(event, &Later);
    EXPECT_EQ(substitute::CallCount(substitute::Call::VirtualProtect), 0) << "no code touched";
    const auto all = AllSites();
    for (size_t i = 0; i < all.size(); ++i)
        EXPECT_EQ(std::memcmp(HostAddress(all[i].address), before[i].data(), 5), 0);
    laterRuns = 0;
    Raise(StartupSites());
    EXPECT_EQ(laterRuns, static_cast<int>(RunningSites(StartupSites()).size()));
}

int firstWithId = 0;
int secondWithId = 0;

TEST(EventRegistration, SameNonZeroIdIsADuplicateWhateverTheHandler) {
    auto& event = plugin::FrameProcessEvent();
    const size_t entries = event.before.size();
    plugin::AddBefore(event, [] { ++firstWithId; }, 7301);
    plugin::AddBefore(event, [] { ++secondWithId; }, 7301);
    EXPECT_EQ(event.before.size(), entries + 1);
    firstWithId = secondWithId = 0;
    Raise(FrameSites());
    EXPECT_EQ(firstWithId, static_cast<int>(RunningSites(FrameSites()).size()));
    EXPECT_EQ(secondWithId, 0);
}

TEST(EventRegistration, OtherCallablesWithIdZeroAreNeverDuplicates) {
    auto& event = plugin::FrameProcessEvent();
    const size_t entries = event.after.size();
    auto lambda = [] {};
    plugin::AddAfter(event, lambda);
    plugin::AddAfter(event, lambda);
    EXPECT_EQ(event.after.size(), entries + 2);
}

TEST(EventRegistration, EmptyHandlerIsNotAdded) {
    auto& event = plugin::RwShutdownEvent();
    const size_t entries = event.after.size();
    plugin::AddAfter(event, std::function<void()>());
    EXPECT_EQ(event.after.size(), entries);
}

}  // namespace
