#include "select_by_version.h"

#include "host_address.h"
#include "host_version.h"

void* SelectByVersion(uint32_t at100, uint32_t at110, uint32_t at120) {
    switch (HostVersion()) {
        case 100: return HostAddress(at100);
        case 110: return HostAddress(at110);
        case 120: return HostAddress(at120);
        default: return HostAddress(0);
    }
}

void* SelectByVersion(const games::VersionedAddress& address) {
    return SelectByVersion(address.at100, address.at110, address.at120);
}
