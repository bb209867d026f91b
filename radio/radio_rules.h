// The few rules in which the games' radios differ, read from the game's table.
#pragma once

#include <cstdint>

// Whether the audio object has user tracks this frame; false in a game without them.
bool UserTracksAvailable();

// The station the player is tuned to, as the ring knows it.
int32_t CurrentStationId(void* vehicle, bool userTracks);

// The game's pending station steps as they count on the ring the strip shows.
int32_t CorrectPendingSteps(int32_t steps, bool userTracks);

// True for a vehicle on which the strip stays hidden (bicycles, unless the player enables them).
bool HidesVehicle(const void* vehicle);
