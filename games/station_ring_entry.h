// Records of the station rings and the radio rules the games differ in.
#pragma once

#include <cstdint>

namespace games {

// One position of a game's ring of stations; its place in the ring is its position.
struct StationRingEntry {
    int32_t stationId;   // the game's station number
    int32_t colourSlot;  // icon slot of the colour icon
    int32_t greySlot;    // and of the grey one: colourSlot + 1 in every table
};

// Where the station the player is tuned to comes from.
enum class CurrentStationSource {
    VehicleByte,  // the vehicle's radio station byte; the user-track range folds onto one id
    AudioQuery,   // the audio object's current station, while the radio plays in a vehicle
};

// The rules of a game's radio, as data.
struct RadioRules {
    CurrentStationSource currentStation;
    int32_t stationWithoutVehicle;  // the station taken while there is no vehicle (or radio)
    int32_t userTrackFirst;         // vehicle bytes userTrackFirst..userTrackLast stand for
    int32_t userTrackLast;          //   one station: userTrackStation, plus 1 with user tracks
    int32_t userTrackStation;
    bool pendingStepsSkipOffEntry;  // without user tracks, steps of 2 or more count one less
    uint8_t muteVolume;             // the volume the mute key sets
    bool muteRetunes;               // the mute key also retunes to the off station
    int32_t muteStation[2];         // the station it retunes to: [without, with] user tracks
    int32_t muteVehicleByte[2];     // and writes into the vehicle's station byte
    bool bicyclesNeedTheirSetting;  // the strip stays hidden on bicycles unless enabled
    bool radioManagerDeadline;      // a pending radio-manager change gets a deadline each frame
};

}  // namespace games
