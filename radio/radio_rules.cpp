#include "radio_rules.h"

#include "../games/selected_game.h"
#include "host_accessors.h"
#include "radio_strip_settings.h"

namespace {

constexpr const games::RadioRules& kRules = selected_game::kRadioRules;
constexpr int32_t kBicycleClass = 10;
constexpr uint8_t kRadioTypesWithoutRadio[] = {3, 255};

bool HasRadio(const void* vehicle) {
    const uint8_t type = HostVehicleRadioType(vehicle);
    for (uint8_t none : kRadioTypesWithoutRadio)
        if (type == none) return false;
    return true;
}

}  // namespace

bool UserTracksAvailable() {
    return games::IsUsed(selected_game::kHostCells.userTracksAvailable) &&
           HostUserTracksAvailable(HostAudio());
}

int32_t CurrentStationId(void* vehicle, bool userTracks) {
    if (!vehicle) return kRules.stationWithoutVehicle;
    if (kRules.currentStation == games::CurrentStationSource::AudioQuery) {
        if (HostRadioActive(HostRadioManager()) && HasRadio(vehicle))
            return HostCurrentStation(HostAudio());
        return kRules.stationWithoutVehicle;
    }
    const int32_t station = HostVehicleRadioStation(vehicle);
    if (station >= kRules.userTrackFirst && station <= kRules.userTrackLast)
        return kRules.userTrackStation + (userTracks ? 1 : 0);
    return station;
}

int32_t CorrectPendingSteps(int32_t steps, bool userTracks) {
    if (!kRules.pendingStepsSkipOffEntry || userTracks) return steps;
    if (steps >= 2) return steps - 1;
    if (steps <= -2) return steps + 1;
    return steps;
}

bool HidesVehicle(const void* vehicle) {
    return kRules.bicyclesNeedTheirSetting && radioStripSettings.EnableBicycleRadioIcon == 0 &&
           vehicle && HostVehicleClass(vehicle) == kBicycleClass;
}
