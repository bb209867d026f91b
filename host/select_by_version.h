// Choice of a game address by the running release (III and Vice City builds).
#pragma once

#include <cstdint>

#include "../games/version_signature.h"

// HostAddress of the address for the running code 100, 110 or 120; HostAddress(0) for any
// other code.
void* SelectByVersion(uint32_t at100, uint32_t at110, uint32_t at120);
void* SelectByVersion(const games::VersionedAddress& address);
