#include "radio_strip_state.h"

RadioStripState radioStripState;

void ResetRadioStrip(RadioStripState& state) {
    state.active = false;
    state.hideAtTime = 0;
    state.fade = 0.0f;
}
