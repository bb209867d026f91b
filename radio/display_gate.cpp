#include "display_gate.h"

#include "host_accessors.h"
#include "radio_rules.h"

Gate DisplayGate(void*& vehicle) {
    for (size_t flag = 0; flag < kHostSuppressFlagCount; ++flag)
        if (HostSuppressFlag(flag) != 0) return Gate::Suppressed;
    vehicle = HostPlayerVehicle();
    const void* character = HostPlayerCharacter();
    if (!character || HostCharacterState(character) != HostDrivingState() ||
        HostPadHideQuery(HostPad(0)))
        return Gate::Closed;
    if (HidesVehicle(vehicle)) return Gate::Closed;
    return Gate::Open;
}
