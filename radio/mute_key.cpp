#include "mute_key.h"

#include "../games/selected_game.h"
#include "host_accessors.h"
#include "key_latch.h"
#include "radio_rules.h"

void HandleMuteKeys(RadioStripState& state, void* vehicle) {
    constexpr const games::RadioRules& rules = selected_game::kRadioRules;
    if (state.mutePending && HostPadRestoreQuery(HostPad(0))) {
        HostSetRadioVolume(HostAudio(), state.savedRadioVolume);
        state.mutePending = false;
    }
    if (!KeyJustPressed(kMuteKey)) return;
    state.savedRadioVolume = HostRadioVolumeSetting();
    HostSetRadioVolume(HostAudio(), rules.muteVolume);
    state.mutePending = true;
    if (!rules.muteRetunes) return;
    const int withUserTracks = UserTracksAvailable() ? 1 : 0;
    HostRetuneRadio(HostAudio(), rules.muteStation[withUserTracks]);
    if (vehicle) HostVehicleRadioStation(vehicle) = static_cast<uint8_t>(rules.muteVehicleByte[withUserTracks]);
}
