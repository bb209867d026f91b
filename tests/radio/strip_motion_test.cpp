// The strip's motion and drawing as pure steps: the easing along the shorter way round the
// ring, the fade, and the icons drawn for a scroll position.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "radio/icon_sprites.h"
#include "radio/icon_strip.h"
#include "radio/radio_strip_settings.h"
#include "radio/scroll_easing.h"
#include "radio/station_ring.h"
#include "sim/host_routines.h"
#include "sim/host_world.h"

namespace {

TEST(StripMotion, ScrollEasesAlongTheShorterWayRound) {
    struct Case {
        const char* what;
        ScrollStep step;
        float expected;
    };
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {"forward across the wrap", {10.0f, 0.0f, 11, 0.15f, 1.0f}, 10.15f},
        {"back across the wrap", {0.0f, 10.0f, 11, 0.15f, 1.0f}, 10.85f},
        {"half the ring stays negative", {5.0f, 0.0f, 10, 0.15f, 1.0f}, 4.25f},
        {"a big time step lands at once", {2.0f, 6.0f, 13, 0.15f, 20.0f}, 6.0f},
        {"within 0.001 snaps", {3.0005f, 3.0f, 11, 0.15f, 1.0f}, 3.0f},
        {"a broken time step jumps", {1.0f, 4.0f, 11, 0.15f, -inf}, 4.0f},
        {"a negative one stays on the ring", {1.0f, 4.0f, 11, 0.15f, -1000.0f}, 2.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_NEAR(NextScrollPosition(c.step), c.expected, 1e-4f);
    }
}

TEST(StripMotion, FadeRisesUntilTheDeadlinePassesThenFalls) {
    struct Case {
        float fade;
        uint32_t clock, hideAt;
        float timeStep, expected;
    };
    const Case cases[] = {
        {0.0f, 5000, 5000, 1.0f, 0.08f},   // the deadline itself still fades in
        {0.96f, 4000, 5000, 1.0f, 1.0f},   // never past 1
        {1.0f, 5001, 5000, 1.0f, 0.92f},
        {0.05f, 5001, 5000, 1.0f, 0.0f},   // never below 0
        {0.5f, 5001, 5000, std::nanf(""), 0.0f},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(NextFade(c.fade, c.clock, c.hideAt, c.timeStep), c.expected, 1e-6f)
            << c.fade << " at " << c.clock;
}

TEST(StripMotion, AlphaWrapsToItsLowByte) {
    EXPECT_EQ(AlphaByte(192.9f), 192);
    EXPECT_EQ(AlphaByte(300.0f), 44);
    EXPECT_EQ(AlphaByte(-10.5f), 246);
    EXPECT_EQ(AlphaByte(std::nanf("")), 0);
}

struct Drawn {
    size_t slot;
    float centreX, width, height;
    uint8_t alpha;
};

// The sprite draws of one strip draw on a 1920 x 1080 screen, and the render states before.
std::vector<Drawn> DrawStrip(const StationRing& ring, float scroll, float fade,
                             std::vector<sim::HostCall>* states = nullptr) {
    sim::ResetHostWorld();
    *sim::HostCellPointer<int32_t>(selected_game::kHostCells.screenWidth) = 1920;
    *sim::HostCellPointer<int32_t>(selected_game::kHostCells.screenHeight) = 1080;
    DrawIconStrip(ring, scroll, fade);
    if (states) *states = sim::HostCallsTo(sim::HostRoutine::RwRenderStateSet);
    std::vector<Drawn> drawn;
    for (const sim::HostCall& call : sim::HostCallsTo(sim::HostRoutine::SpriteDraw))
        drawn.push_back({static_cast<size_t>(static_cast<const HostSprite*>(call.self) - IconSprites.data()),
                         (call.rect.left + call.rect.right) / 2, call.rect.right - call.rect.left,
                         call.rect.bottom - call.rect.top, call.colour.alpha});
    return drawn;
}

class StripDraw : public testing::Test {
protected:
    void SetUp() override {
        if (sim::HostRoutinesRelease() == 0 || !sim::HostCellBytes(selected_game::kHostCells.screenWidth))
            GTEST_SKIP() << "needs the game's routines in place";
        radioStripSettings = RadioStripSettings{};
    }
    void TearDown() override { radioStripSettings = RadioStripSettings{}; }
};

TEST_F(StripDraw, CentreStationAndItsNeighboursAtScreenRelativeSizes) {
    const StationRing ring = BuildStationRing(false);
    radioStripSettings.ColorType = 1;
    std::vector<sim::HostCall> states;
    const std::vector<Drawn> drawn = DrawStrip(ring, 3.0f, 0.5f, &states);
    ASSERT_EQ(drawn.size(), 5u);
    for (size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_EQ(drawn[i].slot, static_cast<size_t>(ring.entries[i + 1].colourSlot));
        EXPECT_FLOAT_EQ(drawn[i].centreX, 960.0f + (static_cast<float>(i) - 2.0f) * 180.0f);
        EXPECT_NEAR(drawn[i].width, 144.0f, 1e-3f);
        EXPECT_NEAR(drawn[i].height, 128.0f * 1080 / 448 * 0.5f, 1e-3f);
    }
    const uint8_t alphas[] = {32, 64, 96, 64, 32};  // 64, 128, 192 halved by the fade
    for (size_t i = 0; i < drawn.size(); ++i) EXPECT_EQ(drawn[i].alpha, alphas[i]);
    ASSERT_EQ(states.size(), 3u);
    const int32_t expectedStates[3][2] = {{7, 2}, {9, 6}, {12, 1}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(states[i].args[0], expectedStates[i][0]);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(states[i].value), uintptr_t(expectedStates[i][1]));
    }
}

TEST_F(StripDraw, ColourModesAndSettingsAtTheirEdges) {
    const StationRing ring = BuildStationRing(false);
    const int32_t n = ring.ringCount;
    auto grey = [&](int32_t j) { return static_cast<size_t>(ring.entries[(j + n) % n].greySlot); };
    auto colour = [&](int32_t j) { return static_cast<size_t>(ring.entries[(j + n) % n].colourSlot); };
    struct Case {
        const char* what;
        float scroll;
        int32_t colorType, centreOnly, alpha1, gap;
        std::vector<size_t> slots;  // drawn, in ring order
        std::vector<uint8_t> alphas;
    };
    const Case cases[] = {
        {"between two stations, grey then colour", 0.5f, 2, 0, 128, 3,
         {grey(0), colour(0), grey(1), colour(1), grey(2), grey(3), grey(-2), grey(-1)},
         {160, 80, 160, 80, 96, 0, 0, 96}},
        {"grey only", 0.0f, 3, 0, 128, 3, {grey(0), grey(1), grey(2), grey(-2), grey(-1)},
         {192, 128, 64, 64, 128}},
        {"centre only halfway: the two within reach", 0.5f, 2, 1, 128, 3,
         {grey(0), colour(0), grey(1), colour(1)}, {160, 80, 160, 80}},
        {"centre only when settled", 0.0f, 2, 1, 128, 3, {grey(0), colour(0)}, {192, 192}},
        {"first alpha beyond a byte", 1.0f, 3, 0, 300, 3,
         {grey(0), grey(1), grey(2), grey(3), grey(-1)}, {44, 192, 44, 64, 64}},
        {"a gap of 0 spaces as 3", 0.0f, 3, 0, 128, 0, {grey(0), grey(1), grey(2), grey(-2), grey(-1)},
         {192, 128, 64, 64, 128}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        radioStripSettings.ColorType = c.colorType;
        radioStripSettings.CenterIconOnly = c.centreOnly;
        radioStripSettings.Alpha1stNonActive = c.alpha1;
        radioStripSettings.IconGap = c.gap;
        const std::vector<Drawn> drawn = DrawStrip(ring, c.scroll, 1.0f);
        ASSERT_EQ(drawn.size(), c.slots.size());
        for (size_t i = 0; i < drawn.size(); ++i) {
            EXPECT_EQ(drawn[i].slot, c.slots[i]) << i;
            EXPECT_EQ(drawn[i].alpha, c.alphas[i]) << i;
        }
        if (c.gap == 0 && drawn.size() > 1) {
            EXPECT_FLOAT_EQ(drawn[1].centreX - drawn[0].centreX, 180.0f);
        }
    }
}

}  // namespace
