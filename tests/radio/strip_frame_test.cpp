// The strip's frame as the game runs it: the display gate, the station the ring aims at, the
// display deadline and the mute key, each frame run through the game's replaced routine.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <iterator>
#include <vector>

#include "../host/event_sites.h"
#include "platform/posix/user32.h"
#include "radio/key_latch.h"
#include "radio/radio_strip_settings.h"
#include "radio/radio_strip_state.h"
#include "sim/host_routines.h"
#include "sim/host_world.h"
#include "sim/release_scenario.h"
#include "tests/support/release_test.h"

namespace {

constexpr const games::HostCells& kCells = selected_game::kHostCells;
constexpr const games::HostFields& kFields = selected_game::kHostFields;

template <class T>
T& Variable(const games::HostCell& cell) { return *sim::HostCellPointer<T>(cell); }

class StripFrame : public testing::Test {
protected:
    void SetUp() override {
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
        if (kFields.vehicleRadioStation)
            sim::ObjectField<uint8_t>(sim::World().vehicleObject, kFields.vehicleRadioStation) = uint8_t(station);
        sim::World().currentStation = static_cast<int8_t>(station);
        sim::World().radioActive = 1;
    }

    // One frame `ms` after the last, through the routine the game calls, its calls left in the
    // log; whether it drew the strip.
    static bool Frame(uint32_t ms = 20) {
        Variable<uint32_t>(kCells.clock) += ms;
        sim::ClearHostCallLog();
        sim::RunGameCode(kCells.replacedRoutine.address);
        return !sim::HostCallsTo(sim::HostRoutine::SpriteDraw).empty();
    }

    static bool Game(sim::Game game) { return sim::LoadedRelease().game == game; }
};

RELEASE_TEST_F(StripFrame, GateSuppressesClosesOrOpens, event_sites::ScenarioHasSites(event_sites::FrameSites())) {
    enum Outcome { Suppressed, Closed, Open };  // suppressed: nothing at all changes; closed: reset
    struct Case { const char* what; std::function<void()> apply; Outcome outcome; };
    auto bicycle = [] { sim::ObjectField<int32_t>(sim::World().vehicleObject, kFields.vehicleClass) = 10; };
    std::vector<Case> cases = {{"on foot", [] { Drive(false); }, Closed},
                               {"no character", [] { sim::World().character = nullptr; }, Closed},
                               {"pad hides it", [] { sim::World().padHide = 1; }, Closed}};
    for (size_t flag = 0; flag < std::size(kCells.suppressFlags); ++flag)
        cases.push_back(
            {"suppress flag", [flag] { Variable<uint8_t>(kCells.suppressFlags[flag]) = 1; }, Suppressed});
    if (Game(sim::Game::SA))
        cases.insert(cases.end(), {{"bicycle", bicycle, Closed}, {"bicycle, setting on", [&] {
                                       bicycle(), radioStripSettings.EnableBicycleRadioIcon = 1;
                                   }, Open}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        for (int i = 0; i < 5; ++i) Frame();
        const RadioStripState before = radioStripState;
        ASSERT_GT(before.fade, 0.0f);
        c.apply();
        EXPECT_EQ(Frame(), c.outcome == Open);
        if (c.outcome == Suppressed) {
            EXPECT_TRUE(sim::HostCallLog().empty());
            EXPECT_EQ(std::memcmp(&radioStripState, &before, sizeof before), 0);
        } else if (c.outcome == Closed) {
            EXPECT_FALSE(radioStripState.active);
            EXPECT_EQ(radioStripState.fade, 0.0f);
            EXPECT_EQ(radioStripState.scrollPosition, before.scrollPosition);
        }
    }
}

RELEASE_TEST_F(StripFrame, RingAimsAtTheTunedStationAndThePendingSteps, event_sites::ScenarioHasSites(event_sites::FrameSites())) {
    struct Case {  // aims at station `target`, shown at once at its ring position
        sim::Game game; const char* what; bool userTracks; int32_t tuned, pending; bool radioActive;
        int32_t target; float position;
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

RELEASE_TEST_F(StripFrame, DeadlineWhileEnteringWaitsFor1500Milliseconds, event_sites::ScenarioHasSites(event_sites::FrameSites())) {
    for (const uint32_t changeAfter : {1499u, 1500u}) {
        SetUp();
        radioStripSettings.DisableIconDisplayWhileEntering = 1;
        EXPECT_FALSE(Frame()) << "getting in shows nothing";
        Frame(changeAfter - 20);
        Tune(3);
        EXPECT_EQ(Frame(20), changeAfter == 1500) << changeAfter;
    }
}

RELEASE_TEST_F(StripFrame, MuteKeySilencesTheRadioOncePerPressAndTheRestoreGivesItBack, event_sites::ScenarioHasSites(event_sites::FrameSites())) {
    struct Rule {
        sim::Game game; bool userTracks; int32_t volume; std::vector<int32_t> retunes; int32_t stationByte;
    };
    const Rule rules[] = {{sim::Game::III, false, 0, {10}, 10}, {sim::Game::III, true, 0, {10}, 11},
                          {sim::Game::VC, false, 0, {9}, 9},     {sim::Game::VC, true, 0, {10}, 10},
                          {sim::Game::SA, false, 1, {}, -1}};
    for (const Rule& rule : rules) {
        if (!Game(rule.game)) continue;
        SetUp();
        sim::World().userTracksAvailable = rule.userTracks;
        Variable<uint8_t>(kCells.radioVolumeSetting) = 77;
        std::vector<int32_t> volumes, retunes;
        using R = sim::HostRoutine;
        auto frame = [&](bool inVehicle, bool xDown, bool restore) {
            Drive(inVehicle);
            substitute::SetKeyDown(0x58, xDown);
            // San Andreas asks its second restore query when the first says no.
            (Game(sim::Game::SA) ? sim::World().padRestoreElse : sim::World().padRestore) = restore;
            Frame();
            for (const sim::HostCall& call : sim::HostCallsTo(R::SetRadioVolume)) volumes.push_back(call.args[0]);
            for (const sim::HostCall& call : sim::HostCallsTo(R::RetuneRadio)) retunes.push_back(call.args[0]);
        };
        frame(false, true, false);  // on foot: ignored, and not remembered
        for (bool xDown : {false, true, true, false}) frame(true, xDown, false);  // once per press
        for (int i = 0; i < 2; ++i) frame(true, false, true);                      // restored once
        EXPECT_EQ(volumes, (std::vector<int32_t>{rule.volume, 77}));
        EXPECT_EQ(retunes, rule.retunes);
        if (rule.stationByte >= 0) {  // the game keeps the station in the vehicle
            EXPECT_EQ(sim::ObjectField<uint8_t>(sim::World().vehicleObject, kFields.vehicleRadioStation),
                      rule.stationByte);
        }
        EXPECT_FALSE(radioStripState.mutePending);
    }
}

}  // namespace
