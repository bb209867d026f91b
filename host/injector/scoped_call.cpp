#include "scoped_call.h"

#include "branch.h"

namespace injector {

void* scoped_call::RedirectCall(void* site, const void* destination, bool protect) {
    SaveBytes(site, 5, protect);
    void* previous = BranchDestination(site);
    WriteRelativeBranch(site, kRelativeCall, destination);
    return previous;
}

}  // namespace injector
