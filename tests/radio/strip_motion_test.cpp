// The strip's motion and drawing as pure steps: the easing along the shorter way round the
// ring, the fade, and the icons drawn for a scroll position.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "radio/icon_sprites.h"
#include "radio/icon_strip.h"
#include "radio/radio_strip_settings.h"
#include "radio/scroll_easing.h"
#include "radio/station_ring.h"
#include "sim/host_routines.h"
#include "sim/host_world.h"
#include "tests/support/release_test.h"

namespace {

TEST(StripMotion, ScrollEasesAlongTheShorterWayRound) {
    const float inf = std::numeric_limits<float>::infinity();
    const struct { const char* what; ScrollStep step; float expected; } cases[] = {
        {"forward across the wrap", {10.0f, 0.0f, 11, 0.15f, 1.0f}, 10.15f},
        {"back across the wrap", {0.0f, 10.0f, 11, 0.15f, 1.0f}, 10.85f},
        {"half the ring stays negative", {5.0f, 0.0f, 10, 0.15f, 1.0f}, 4.25f},
        {"a big time step lands at once", {2.0f, 6.0f, 13, 0.15f, 20.0f}, 6.0f},
        {"within 0.001 snaps", {3.0005f, 3.0f, 11, 0.15f, 1.0f}, 3.0f},
        {"a broken time step jumps", {1.0f, 4.0f, 11, 0.15f, -inf}, 4.0f},
        {"a negative one stays on the ring", {1.0f, 4.0f, 11, 0.15f, -1000.0f}, 2.0f},
    };
    for (const auto& c : cases) EXPECT_NEAR(NextScrollPosition(c.step), c.expected, 1e-4f) << c.what;
}

TEST(StripMotion, FadeRisesUntilTheDeadlinePassesThenFalls) {
    // Against a deadline at 5000.
    const struct { float fade; uint32_t clock; float timeStep, expected; } cases[] = {
        {0.0f, 5000, 1.0f, 0.08f},  // the deadline itself still fades in
        {0.96f, 4000, 1.0f, 1.0f},  // never past 1
        {1.0f, 5001, 1.0f, 0.92f},
        {0.05f, 5001, 1.0f, 0.0f},  // never below 0
        {0.5f, 5001, std::nanf(""), 0.0f},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(NextFade(c.fade, c.clock, 5000, c.timeStep), c.expected, 1e-6f) << c.fade << " at " << c.clock;
}

TEST(StripMotion, AlphaWrapsToItsLowByte) {
    EXPECT_EQ(AlphaByte(192.9f), 192);
    EXPECT_EQ(AlphaByte(-10.5f), 246);
    EXPECT_EQ(AlphaByte(std::nanf("")), 0);
}

struct Drawn { size_t slot; float centreX, width, height; uint8_t alpha; };

// Drawing needs the game's routines in place.
bool RoutinesInPlace() {
    return sim::HostRoutinesRelease() != 0 && sim::HostCellBytes(selected_game::kHostCells.screenWidth);
}

class StripDraw : public testing::Test {
protected:
    void SetUp() override {
        radioStripSettings = RadioStripSettings{};
    }

    // The sprite draws of one strip draw on a 1920 x 1080 screen, the render states left in the log.
    std::vector<Drawn> DrawStrip(float scroll, float fade) const {
        sim::ResetHostWorld();
        *sim::HostCellPointer<int32_t>(selected_game::kHostCells.screenWidth) = 1920;
        *sim::HostCellPointer<int32_t>(selected_game::kHostCells.screenHeight) = 1080;
        DrawIconStrip(ring, scroll, fade);
        std::vector<Drawn> drawn;
        for (const sim::HostCall& call : sim::HostCallsTo(sim::HostRoutine::SpriteDraw))
            drawn.push_back({size_t(static_cast<const HostSprite*>(call.self) - IconSprites.data()),
                             (call.rect.left + call.rect.right) / 2, call.rect.right - call.rect.left,
                             call.rect.bottom - call.rect.top, call.colour.alpha});
        return drawn;
    }

    const StationRing ring = BuildStationRing(false);
};

RELEASE_TEST_F(StripDraw, CentreStationAndItsNeighboursAtScreenRelativeSizes, RoutinesInPlace()) {
    radioStripSettings.ColorType = 1;
    radioStripSettings.IconGap = 0;  // spaces as the default, 3
    const std::vector<Drawn> drawn = DrawStrip(3.0f, 0.5f);
    ASSERT_EQ(drawn.size(), 5u);
    const uint8_t alphas[] = {32, 64, 96, 64, 32};  // 64, 128, 192 halved by the fade
    for (size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_EQ(drawn[i].slot, size_t(ring.entries[i + 1].colourSlot));
        EXPECT_FLOAT_EQ(drawn[i].centreX, 960.0f + (float(i) - 2.0f) * 180.0f);
        EXPECT_NEAR(drawn[i].width, 144.0f, 1e-3f);
        EXPECT_NEAR(drawn[i].height, 128.0f * 1080 / 448 * 0.5f, 1e-3f);
        EXPECT_EQ(drawn[i].alpha, alphas[i]);
    }
    std::vector<std::pair<int32_t, uintptr_t>> states;
    for (const sim::HostCall& call : sim::HostCallsTo(sim::HostRoutine::RwRenderStateSet))
        states.push_back({call.args[0], reinterpret_cast<uintptr_t>(call.value)});
    // Gouraud shading, the linear mip filter, vertex alpha.
    EXPECT_EQ(states, (std::vector<std::pair<int32_t, uintptr_t>>{{7, 2}, {9, 6}, {12, 1}}));
}

RELEASE_TEST_F(StripDraw, ColourModesAndSettingsAtTheirEdges, RoutinesInPlace()) {
    const int32_t n = ring.ringCount;
    auto grey = [&](int32_t j) { return size_t(ring.entries[(j + n) % n].greySlot); };
    auto colour = [&](int32_t j) { return size_t(ring.entries[(j + n) % n].colourSlot); };
    const struct {
        const char* what; float scroll; int32_t colorType, centreOnly, alpha1;
        std::vector<size_t> slots;  // drawn, in ring order
        std::vector<uint8_t> alphas;
    } cases[] = {
        {"between two stations, grey then colour", 0.5f, 2, 0, 128,
         {grey(0), colour(0), grey(1), colour(1), grey(2), grey(3), grey(-2), grey(-1)},
         {160, 80, 160, 80, 96, 0, 0, 96}},
        {"grey only", 0.0f, 3, 0, 128, {grey(0), grey(1), grey(2), grey(-2), grey(-1)},
         {192, 128, 64, 64, 128}},
        {"centre only halfway: the two within reach", 0.5f, 2, 1, 128, {grey(0), colour(0), grey(1), colour(1)},
         {160, 80, 160, 80}},
        {"centre only when settled", 0.0f, 2, 1, 128, {grey(0), colour(0)}, {192, 192}},
        {"first alpha beyond a byte", 1.0f, 3, 0, 300, {grey(0), grey(1), grey(2), grey(3), grey(-1)},
         {44, 192, 44, 64, 64}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        radioStripSettings.ColorType = c.colorType;
        radioStripSettings.CenterIconOnly = c.centreOnly;
        radioStripSettings.Alpha1stNonActive = c.alpha1;
        const std::vector<Drawn> drawn = DrawStrip(c.scroll, 1.0f);
        ASSERT_EQ(drawn.size(), c.slots.size());
        for (size_t i = 0; i < drawn.size(); ++i) {
            EXPECT_EQ(drawn[i].slot, c.slots[i]) << i;
            EXPECT_EQ(drawn[i].alpha, c.alphas[i]) << i;
        }
    }
}

}  // namespace
