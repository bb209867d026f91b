#include "write_jump.h"

#include "../host_address.h"
#include "branch.h"

namespace injector {

void WriteJump(uint32_t address, const void* destination) {
    WriteRelativeBranch(HostAddress(address), kRelativeJump, destination);
}

}  // namespace injector
