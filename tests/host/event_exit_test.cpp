// At process exit the runtime destroys the hook handles, and the game's calls come back.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "event_sites.h"
#include "platform/platform.h"
#include "platform/posix/substitute.h"

namespace {

using namespace event_sites;

// Registered before any event exists, so it runs after every event static is destroyed.
void CheckCallsPutBack() {
    for (const Site& s : AllSites())
        if (!AsLaidOut(s.address)) {
            std::fprintf(stderr, "call at 0x%X not put back\n", static_cast<unsigned>(s.address));
            _exit(1);
        }
    for (const Site& s : RunningSites(AllSites()))
        if (substitute::PageProtection(HostAddress(s.address)) != PAGE_EXECUTE_READ) {
            std::fprintf(stderr, "protection at 0x%X not put back\n", static_cast<unsigned>(s.address));
            _exit(1);
        }
    std::fprintf(stderr, "every call as laid out\n");
}

void InstallThenExit() {
    std::atexit(CheckCallsPutBack);
    InstallEveryEvent();
    for (const Site& s : RunningSites(AllSites()))
        if (!RedirectedTo(s)) {
            std::fprintf(stderr, "call at 0x%X not redirected\n", static_cast<unsigned>(s.address));
            _exit(2);
        }
    std::exit(0);
}

TEST(EventExit, HandlesDestroyedAtExitPutTheSavedCallsBack) {
    // A fresh process of this program, so the events come into being after the check.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(InstallThenExit(), testing::ExitedWithCode(0), "every call as laid out");
}

}  // namespace
