// Call hooks on laid-out call sites, the game's call then run as the game runs it.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/injector/hooking.hpp"
#include "platform/posix/substitute.h"
#include "scratch_code.h"

namespace {

constexpr uint32_t kArea = sim::kScratchStart + 0x10000;

// Each test hooks a site of its own: a site is a template argument, with one manager each.
template <uint32_t Site>
using Hook = injector::function_hooker<injector::scoped_call, Site, uint32_t()>;

template <uint32_t Site>
const void* DispatcherOf() {
    return reinterpret_cast<const void*>(&injector::call_hooks<typename Hook<Site>::manager_type>);
}

template <uint32_t Site>
auto& ManagerOf() {
    return *Hook<Site>::manager_type::Instance();
}

constexpr uint32_t kCalleeOffset = 0x40;  // every site's callee sits this far above it

// Lays out a call to a callee returning `result`; answers the five bytes of the call.
std::array<uint8_t, 5> LayOut(uint32_t site, uint32_t result) {
    scratch::LayOutCall(site, site + kCalleeOffset, result);
    return scratch::FiveBytesAt(site);
}

using Functor = std::function<uint32_t(std::function<uint32_t()>)>;

// A hook that notes its name, then runs its next and adds `add` to the result.
Functor Noting(std::vector<std::string>& log, std::string name, uint32_t add = 0) {
    return [&log, name, add](std::function<uint32_t()> next) {
        log.push_back(name);
        return next() + add;
    };
}

TEST(FunctionHooker, RecordsTheCalleeAndRedirectsTheCallToTheDispatcher) {
    constexpr uint32_t site = kArea;
    std::memcpy(sim::GameBytes(site), "\xE8\x10\x00\x00\x00\xC3", 6);
    sim::WriteGameCallee(site + 0x15, 0x1234);
    std::vector<std::string> log;
    Hook<site> hook(Noting(log, "hook", 1));
    EXPECT_EQ(ManagerOf<site>().callee, HostAddress(site + 0x15));
    EXPECT_EQ(scratch::FiveBytesAt(site), scratch::RelativeBranch(0xE8, site, DispatcherOf<site>()));
    EXPECT_EQ(sim::RunGameCode(site), 0x1235u);
    EXPECT_EQ(log, std::vector<std::string>{"hook"});
    EXPECT_EQ(sim::GameCalleeCalls(site + 0x15), 1u);
}

TEST(FunctionHooker, WritesAtTheImagesAddressOfTheSite) {
    constexpr uint32_t site = kArea + 0x100;
    LayOut(site, 7);
    std::vector<std::string> log;
    Hook<site> hook(Noting(log, "hook"));
    EXPECT_EQ(sim::GameBytes(site)[0], 0xE8);
    EXPECT_EQ(injector::BranchDestination(sim::GameBytes(site)), DispatcherOf<site>());
}

TEST(FunctionHooker, SecondHandleOnTheSiteWritesNothing) {
    constexpr uint32_t site = kArea + 0x200;
    LayOut(site, 10);
    std::vector<std::string> log;
    Hook<site> first(Noting(log, "first"));
    const auto redirected = scratch::FiveBytesAt(site);
    substitute::ResetSubstitute();
    Hook<site> second(Noting(log, "second"));
    EXPECT_EQ(substitute::CallCount(substitute::Call::VirtualProtect), 0);
    EXPECT_EQ(scratch::FiveBytesAt(site), redirected);
    EXPECT_EQ(ManagerOf<site>().hooks.size(), 2u);
}

TEST(FunctionHooker, TheEntryAddedLastRunsFirst) {
    constexpr uint32_t site = kArea + 0x300;
    LayOut(site, 100);
    std::vector<std::string> log;
    Hook<site> first(Noting(log, "first", 1));
    Hook<site> second(Noting(log, "second", 10));
    EXPECT_EQ(sim::RunGameCode(site), 111u);
    EXPECT_EQ(log, (std::vector<std::string>{"second", "first"}));
}

TEST(FunctionHooker, EachHookDecidesWhetherItsNextRuns) {
    constexpr uint32_t site = kArea + 0x400;
    LayOut(site, 100);
    std::vector<std::string> log;
    Hook<site> first(Noting(log, "first"));
    Hook<site> second([&log](std::function<uint32_t()>) {
        log.push_back("second");
        return 5u;
    });
    EXPECT_EQ(sim::RunGameCode(site), 5u);
    EXPECT_EQ(log, std::vector<std::string>{"second"});
    EXPECT_EQ(sim::GameCalleeCalls(site + kCalleeOffset), 0u);
}

TEST(FunctionHooker, ReleasingTheOnlyEntryPutsTheCallBack) {
    constexpr uint32_t site = kArea + 0x500;
    const auto original = LayOut(site, 42);
    std::vector<std::string> log;
    Hook<site> hook(Noting(log, "hook", 1));
    EXPECT_EQ(sim::RunGameCode(site), 43u);
    hook.ReleaseHook();
    EXPECT_FALSE(hook.IsHooked());
    EXPECT_FALSE(ManagerOf<site>().hooked);
    EXPECT_EQ(scratch::FiveBytesAt(site), original);
    EXPECT_EQ(sim::RunGameCode(site), 42u);
    EXPECT_EQ(log.size(), 1u);
}

TEST(FunctionHooker, ReleasingOneOfTwoWritesNothing) {
    constexpr uint32_t site = kArea + 0x600;
    const auto original = LayOut(site, 42);
    std::vector<std::string> log;
    Hook<site> first(Noting(log, "first", 1));
    Hook<site> second(Noting(log, "second", 10));
    const auto redirected = scratch::FiveBytesAt(site);
    substitute::ResetSubstitute();
    second.ReleaseHook();
    EXPECT_EQ(substitute::CallCount(substitute::Call::VirtualProtect), 0);
    EXPECT_EQ(scratch::FiveBytesAt(site), redirected);
    EXPECT_EQ(sim::RunGameCode(site), 43u);
    EXPECT_EQ(log, std::vector<std::string>{"first"});
    first.ReleaseHook();
    EXPECT_EQ(scratch::FiveBytesAt(site), original);
}

TEST(FunctionHooker, DestroyingTheLastHandlePutsTheCallBack) {
    constexpr uint32_t site = kArea + 0x700;
    const auto original = LayOut(site, 42);
    std::vector<std::string> log;
    {
        Hook<site> hook(Noting(log, "hook"));
        EXPECT_NE(scratch::FiveBytesAt(site), original);
    }
    EXPECT_EQ(scratch::FiveBytesAt(site), original);
    EXPECT_TRUE(ManagerOf<site>().hooks.empty());
}

TEST(FunctionHooker, TheCopiedHandleOwnsTheHook) {
    constexpr uint32_t site = kArea + 0x800;
    const auto original = LayOut(site, 42);
    std::vector<std::string> log;
    auto source = std::make_unique<Hook<site>>(Noting(log, "hook", 1));
    Hook<site> copy(*source);
    EXPECT_TRUE(copy.IsHooked());
    EXPECT_EQ(ManagerOf<site>().hooks.size(), 1u);
    EXPECT_EQ(ManagerOf<site>().hooks.front().handle, &copy);
    source.reset();
    EXPECT_EQ(sim::RunGameCode(site), 43u) << "the hook outlives the handle it came from";
    EXPECT_EQ(log, std::vector<std::string>{"hook"});
    copy.ReleaseHook();
    EXPECT_EQ(scratch::FiveBytesAt(site), original);
}

TEST(FunctionHooker, CopyMovesTheEntryToTheEndOfTheChain) {
    constexpr uint32_t site = kArea + 0x900;
    LayOut(site, 0);
    std::vector<std::string> log;
    Hook<site> first(Noting(log, "first"));
    Hook<site> second(Noting(log, "second"));
    Hook<site> firstAgain(first);  // now added last: it runs first
    sim::RunGameCode(site);
    EXPECT_EQ(log, (std::vector<std::string>{"first", "second"}));
}

TEST(FunctionHooker, ProtectionIsPutBackAroundEveryAccess) {
    constexpr uint32_t site = kArea + 0x2000;  // a page of its own
    scratch::LayOutCall(site, kArea + 0x3000, 9);  // the callee counts its calls: writable page
    const auto original = scratch::FiveBytesAt(site);
    scratch::ProtectPage(site, PAGE_EXECUTE_READ);
    {
        std::vector<std::string> log;
        Hook<site> hook(Noting(log, "hook", 1));
        EXPECT_EQ(substitute::PageProtection(HostAddress(site)), PAGE_EXECUTE_READ);
        EXPECT_EQ(sim::RunGameCode(site), 10u);
    }
    EXPECT_EQ(substitute::PageProtection(HostAddress(site)), PAGE_EXECUTE_READ);
    EXPECT_EQ(scratch::FiveBytesAt(site), original);
    scratch::ProtectPage(site, PAGE_EXECUTE_READWRITE);
}

TEST(FunctionHooker, NoEntryLeftRunsTheCalleeDirectly) {
    constexpr uint32_t site = kArea + 0xA00;
    LayOut(site, 77);
    std::vector<std::string> log;
    Hook<site> hook(Noting(log, "hook"));
    // Entries gone while the call still points at the dispatcher: the callee answers alone.
    ManagerOf<site>().hooks.clear();
    EXPECT_EQ(sim::RunGameCode(site), 77u);
    EXPECT_TRUE(log.empty());
    ManagerOf<site>().RestoreBytes();
}

// A handler that hooks its own site while the chain runs: enough entries are added that the
// list's storage moves, and the chain that is running goes on to the game's callee unharmed
// (under ASan a link left pointing into the old storage fails here). The added entries run
// from the next call on.
TEST(FunctionHooker, EntriesAddedWhileTheChainRunsJoinTheNextCall) {
    constexpr uint32_t site = kArea + 0xB00;
    LayOut(site, 1000);
    std::vector<std::string> log;
    std::vector<std::unique_ptr<Hook<site>>> added;
    Hook<site> first(Noting(log, "first", 1));
    Hook<site> adding([&](std::function<uint32_t()> next) {
        log.push_back("adding");
        if (added.empty())
            for (int i = 0; i < 64; ++i)
                added.push_back(std::make_unique<Hook<site>>(Noting(log, "added")));
        return next() + 10;
    });
    EXPECT_EQ(sim::RunGameCode(site), 1011u);
    EXPECT_EQ(log, (std::vector<std::string>{"adding", "first"}));
    log.clear();
    EXPECT_EQ(sim::RunGameCode(site), 1011u);
    EXPECT_EQ(log.size(), 66u);
    EXPECT_EQ(log.front(), "added");
    EXPECT_EQ(sim::GameCalleeCalls(site + kCalleeOffset), 2u);
    added.clear();
    ManagerOf<site>().RestoreBytes();
}

}  // namespace
