// The strip's frame as the game runs it: the display gate, the station the ring aims at, the
// display deadline and the mute key, each frame run through the game's replaced routine.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "games/selected_game.h"
#include "host/host_version.h"
#include "platform/platform.h"
#include "platform/posix/user32.h"
#include "radio/key_latch.h"
#include "radio/radio_strip_settings.h"
#include "radio/radio_strip_state.h"
#include "sim/game_code.h"
#include "sim/host_routines.h"
#include "sim/host_world.h"
#include "sim/release_scenario.h"

namespace {

constexpr const games::HostCells& kCells = selected_game::kHostCells;
constexpr const games::HostFields& kFields = selected_game::kHostFields;

template <class T>
T& Variable(const games::HostCell& cell) { return *sim::HostCellPointer<T>(cell); }

class StripFrame : public testing::Test {
protected:
    void SetUp() override {
        bool hooked = false;
        for (const games::EventCallSite& site : selected_game::kFrameProcessSites)
            hooked = hooked || site.version == HostVersion();
        if (!hooked) GTEST_SKIP() << "the strip runs only where the release is hooked";
        sim::ResetHostWorld();
        radioStripState = RadioStripState{};
        radioStripSettings = RadioStripSettings{};
        KeyLatch = {};
        substitute::ResetKeys();
        substitute::SetUser32Loaded(true);
        Variable<int32_t>(kCells.screenWidth) = 640;
        Variable<int32_t>(kCells.screenHeight) = 448;
        Variable<float>(kCells.timeStep) = 1.0f;
        Variable<uint32_t>(kCells.clock) = 10000;
        Drive(true);
        Tune(2);
    }

    static void Drive(bool inVehicle) {
        sim::HostWorld& world = sim::World();
        world.character = world.characterObject;
        sim::ObjectField<int32_t>(world.characterObject, kFields.characterState) =
            inVehicle ? kFields.drivingState : 1;
        world.vehicle = inVehicle ? world.vehicleObject : nullptr;
    }

    static void Tune(int32_t station) {
        sim::HostWorld& world = sim::World();
        if (kFields.vehicleRadioStation)
            sim::ObjectField<uint8_t>(world.vehicleObject, kFields.vehicleRadioStation) =
                static_cast<uint8_t>(station);
        world.currentStation = static_cast<int8_t>(station);
        world.radioActive = 1;
    }

    // One frame `ms` after the last, through the routine the game calls; its host calls.
    static std::vector<sim::HostCall> Frame(uint32_t ms = 20) {
        Variable<uint32_t>(kCells.clock) += ms;
        sim::ClearHostCallLog();
        sim::RunGameCode(kCells.replacedRoutine.address);
        return sim::HostCallLog();
    }

    static size_t Draws(const std::vector<sim::HostCall>& calls) {
        size_t draws = 0;
        for (const sim::HostCall& call : calls) draws += call.routine == sim::HostRoutine::SpriteDraw;
        return draws;
    }

    static bool Game(sim::Game game) { return sim::LoadedRelease().game == game; }
};

TEST_F(StripFrame, GateStopsOrResetsTheStrip) {
    struct Case {
        const char* what;
        std::function<void()> apply;
        bool reset;  // else the frame is suppressed and nothing at all changes
    };
    std::vector<Case> cases;
    for (size_t flag = 0; flag < 4; ++flag)
        cases.push_back({"suppress flag", [flag] { Variable<uint8_t>(kCells.suppressFlags[flag]) = 1; }, false});
    cases.push_back({"on foot", [] { Drive(false); }, true});
    cases.push_back({"no character", [] { sim::World().character = nullptr; }, true});
    cases.push_back({"pad hides it", [] { sim::World().padHide = 1; }, true});
    if (Game(sim::Game::SA))
        cases.push_back({"bicycle", [] {
            sim::ObjectField<int32_t>(sim::World().vehicleObject, kFields.vehicleClass) = 10;
        }, true});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        for (int i = 0; i < 5; ++i) Frame();
        const RadioStripState before = radioStripState;
        ASSERT_GT(before.fade, 0.0f);
        c.apply();
        const std::vector<sim::HostCall> calls = Frame();
        EXPECT_EQ(Draws(calls), 0u);
        if (c.reset) {
            EXPECT_FALSE(radioStripState.active);
            EXPECT_EQ(radioStripState.fade, 0.0f);
            EXPECT_EQ(radioStripState.scrollPosition, before.scrollPosition);
        } else {
            EXPECT_TRUE(calls.empty());
            EXPECT_EQ(std::memcmp(&radioStripState, &before, sizeof before), 0);
        }
    }
    SetUp();
    radioStripSettings.EnableBicycleRadioIcon = 1;
    if (Game(sim::Game::SA)) sim::ObjectField<int32_t>(sim::World().vehicleObject, kFields.vehicleClass) = 10;
    Frame();
    EXPECT_GT(Draws(Frame()), 0u) << "a bicycle with the setting on, or any other vehicle";
}

TEST_F(StripFrame, RingAimsAtTheTunedStationAndThePendingSteps) {
    struct Case {
        sim::Game game;
        const char* what;
        bool userTracks;
        int32_t tuned, pending;
        bool radioActive;
        int32_t target;  // station id aimed at
        float position;  // its ring position, where the first frame shows it
    };
    const Case cases[] = {
        {sim::Game::VC, "user tracks, tuned to 12", true, 12, 0, true, 10, 10.0f},
        {sim::Game::VC, "no user tracks, 3 steps from 2", false, 2, 3, true, 4, 4.0f},
        {sim::Game::VC, "steps back across the start", true, 1, -2, true, 10, 10.0f},
        {sim::Game::III, "user tracks, tuned to 13", true, 13, 0, true, 11, 10.0f},
        {sim::Game::III, "no user tracks, tuned to 12", false, 12, 0, true, 10, 9.0f},
        {sim::Game::III, "3 steps from 2", false, 2, 3, true, 5, 5.0f},
        {sim::Game::SA, "tuned to 7", false, 7, 0, true, 7, 7.0f},
        {sim::Game::SA, "radio off", false, 7, 0, false, 13, 0.0f},
        {sim::Game::SA, "2 steps back from 1", false, 1, -2, true, 12, 12.0f},
    };
    for (const Case& c : cases) {
        if (!Game(c.game)) continue;
        SCOPED_TRACE(c.what);
        SetUp();
        sim::World().userTracksAvailable = c.userTracks;
        Tune(c.tuned);
        sim::World().radioActive = c.radioActive;
        Variable<int32_t>(kCells.pendingStationSteps) = c.pending;
        Frame();
        EXPECT_EQ(radioStripState.lastStationId, c.target);
        EXPECT_EQ(radioStripState.scrollPosition, c.position);
    }
}

TEST_F(StripFrame, DeadlineWhileEnteringWaitsFor1500Milliseconds) {
    struct Case {
        uint32_t changeAfter;
        bool shows;
    };
    for (const Case& c : {Case{1499, false}, Case{1500, true}}) {
        SetUp();
        radioStripSettings.DisableIconDisplayWhileEntering = 1;
        EXPECT_EQ(Draws(Frame()), 0u) << "getting in shows nothing";
        Frame(c.changeAfter - 20);
        Tune(3);
        EXPECT_EQ(Draws(Frame(20)) > 0, c.shows) << c.changeAfter;
    }
}

TEST_F(StripFrame, MuteKeySilencesTheRadioOncePerPressAndTheRestoreGivesItBack) {
    struct Rule {
        sim::Game game;
        bool userTracks;
        int32_t volume, retune, stationByte;  // retune -1: none
    };
    const Rule rules[] = {{sim::Game::III, false, 0, 10, 10}, {sim::Game::III, true, 0, 10, 11},
                          {sim::Game::VC, false, 0, 9, 9},     {sim::Game::VC, true, 0, 10, 10},
                          {sim::Game::SA, false, 1, -1, -1}};
    for (const Rule& rule : rules) {
        if (!Game(rule.game)) continue;
        SetUp();
        sim::World().userTracksAvailable = rule.userTracks;
        Variable<uint8_t>(kCells.radioVolumeSetting) = 77;
        std::vector<sim::HostCall> calls;
        auto run = [&calls](bool xDown) {
            substitute::SetKeyDown(0x58, xDown);
            for (const sim::HostCall& call : Frame()) calls.push_back(call);
        };
        Drive(false);
        run(true);   // on foot: ignored,
        run(false);  // and not remembered
        Drive(true);
        run(false);
        run(true);   // fires once
        run(true);
        run(false);
        // The game's restore query; San Andreas asks its second one when the first says no.
        (Game(sim::Game::SA) ? sim::World().padRestoreElse : sim::World().padRestore) = 1;
        run(false);  // restores once
        run(false);
        std::vector<int32_t> volumes, retunes;
        for (const sim::HostCall& call : calls) {
            if (call.routine == sim::HostRoutine::SetRadioVolume) volumes.push_back(call.args[0]);
            if (call.routine == sim::HostRoutine::RetuneRadio) retunes.push_back(call.args[0]);
        }
        EXPECT_EQ(volumes, (std::vector<int32_t>{rule.volume, 77}));
        EXPECT_EQ(retunes, rule.retune < 0 ? std::vector<int32_t>{} : std::vector<int32_t>{rule.retune});
        if (rule.stationByte >= 0) {
            EXPECT_EQ(sim::ObjectField<uint8_t>(sim::World().vehicleObject, kFields.vehicleRadioStation),
                      rule.stationByte);
        }
        EXPECT_FALSE(radioStripState.mutePending);
    }
}

}  // namespace
