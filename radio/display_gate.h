// When the strip may show: nothing suppresses it and the player drives.
#pragma once

enum class Gate {
    Suppressed,  // the game hides it: the frame ends with nothing changed
    Closed,      // not driving: the strip resets and the frame ends
    Open,        // the frame goes on with `vehicle`
};

// The game's suppress flags, then the player, the character's state, the pad's hide query and
// the vehicle rule. `vehicle` receives the player's vehicle (null when on foot).
Gate DisplayGate(void*& vehicle);
