// Tests that apply to some release scenarios only. Each test program runs once per scenario
// (its environment names the release, see sim/release_scenario.h); a test written with these
// macros exists only in the processes whose scenario it applies to, so it is listed, run and
// counted there and nowhere else, instead of reporting itself skipped.
//
//   RELEASE_TEST_F(Fixture, Name, ScenarioHasFrameCalls()) { ... }
//
// The condition is read before any test runs, so it must describe the scenario (what the
// stand-in laid out: sim::LoadedRelease(), the image's bytes), never what the code under test
// answers: a detection fault must fail tests, not make them vanish.
#pragma once

#include <gtest/gtest.h>

#include <functional>

namespace release_test {

// Keeps `registration` to run when `applies` holds for this process's scenario.
bool ListWhere(std::function<bool()> applies, std::function<void()> registration);

// Registers every kept test whose condition holds; the program's main calls it.
void RegisterApplicable();

}  // namespace release_test

#define RELEASE_TEST_IMPL(suite, name, base, applies)                                         \
    class suite##_##name##_ReleaseTest : public base {                                         \
    public:                                                                                    \
        void TestBody() override;                                                              \
    };                                                                                         \
    [[maybe_unused]] const bool suite##_##name##_listed = release_test::ListWhere(             \
        [] { return static_cast<bool>(applies); }, [] {                                        \
            testing::RegisterTest(#suite, #name, nullptr, nullptr, __FILE__, __LINE__,         \
                                  []() -> base* { return new suite##_##name##_ReleaseTest; }); \
        });                                                                                    \
    void suite##_##name##_ReleaseTest::TestBody()

#define RELEASE_TEST(suite, name, applies) RELEASE_TEST_IMPL(suite, name, testing::Test, applies)
#define RELEASE_TEST_F(fixture, name, applies) RELEASE_TEST_IMPL(fixture, name, fixture, applies)
