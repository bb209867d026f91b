#include "radio_strip_frame.h"

#include "../games/selected_game.h"
#include "../host/host_version.h"
#include "display_gate.h"
#include "host_accessors.h"
#include "icon_strip.h"
#include "mute_key.h"
#include "radio_rules.h"
#include "radio_strip_settings.h"
#include "radio_strip_state.h"
#include "scroll_easing.h"
#include "station_ring.h"

namespace {

constexpr uint32_t kRadioManagerDelay = 2500;  // ms the game waits before a pending change
constexpr uint32_t kEnteringGrace = 1500;      // ms after getting in without a deadline

// Only where the plug-in's events run does the strip run: elsewhere neither the settings nor
// the icons were ever loaded, and the fixed addresses are not known to hold the game's routines.
bool ReleaseIsHooked() {
    static const bool hooked = [] {
        for (const games::EventCallSite& site : selected_game::kFrameProcessSites)
            if (site.version == HostVersion()) return true;
        return false;
    }();
    return hooked;
}

// A pending change the radio manager has not started yet gets a deadline (San Andreas).
void PostponeRadioManagerChange() {
    void* manager = HostRadioManager();
    if (!manager || HostRadioManagerPending(manager) == 0 || !HostRadioActive(manager)) return;
    SetHostRadioManagerDeadline(manager, HostClock() + kRadioManagerDelay);
    HostRadioManagerPending(manager) = 0;
}

void KeepDisplayDeadline(RadioStripState& state, int32_t target) {
    const uint32_t clock = HostClock();
    const uint32_t timeout = static_cast<uint32_t>(radioStripSettings.RadioSliderTimeout);
    const bool entering = radioStripSettings.DisableIconDisplayWhileEntering != 0;
    if (!state.active) {
        state.activeSinceTime = clock;
        if (!entering) state.hideAtTime = clock + timeout;
        state.active = true;
        state.lastStationId = target;
    } else if (target != state.lastStationId) {
        if (!(entering && clock - state.activeSinceTime < kEnteringGrace))
            state.hideAtTime = clock + timeout;
        state.lastStationId = target;
    }
}

void RunFrame() {
    if (!ReleaseIsHooked()) return;
    RadioStripState& state = radioStripState;

    void* vehicle = nullptr;
    switch (DisplayGate(vehicle)) {
        case Gate::Suppressed: return;
        case Gate::Closed: ResetRadioStrip(state); return;
        case Gate::Open: break;
    }

    const bool userTracks = UserTracksAvailable();
    const StationRing ring = BuildStationRing(userTracks);
    if (selected_game::kRadioRules.radioManagerDeadline) PostponeRadioManagerChange();

    int32_t position = RingPosition(ring, CurrentStationId(vehicle, userTracks));
    const int32_t pendingSteps = HostPendingStationSteps();
    if (pendingSteps != 0)
        position = WrapRingPosition(int64_t{position} + CorrectPendingSteps(pendingSteps, userTracks),
                                    ring.ringCount);
    const int32_t target = ring.entries[position].stationId;

    HandleMuteKeys(state, vehicle);
    KeepDisplayDeadline(state, target);

    const float targetPosition = static_cast<float>(position);
    const bool jump = state.scrollPosition < 0.0f || radioStripSettings.DisableScrollAnim != 0 ||
                      (radioStripSettings.OnlyPlayScrollOnPress != 0 && pendingSteps == 0);
    state.scrollPosition = NextScrollPosition(
        {jump ? targetPosition : state.scrollPosition, targetPosition, ring.ringCount,
         static_cast<float>(radioStripSettings.RadioSliderAnimSpeed) / 100.0f, HostTimeStep()});
    state.fade = NextFade(state.fade, HostClock(), state.hideAtTime, HostTimeStep());

    if (state.fade <= 0.0f) return;
    DrawIconStrip(ring, state.scrollPosition, state.fade);
}

}  // namespace

// The game jumps here from its own routine: nothing may unwind into its frames. A frame that
// fails is skipped, and the next one starts from the state this one left.
void RadioStripFrame() noexcept {
    try {
        RunFrame();
    } catch (...) {
    }
}
