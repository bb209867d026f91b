#include "hooking_assert.h"

#include <cstdio>
#include <cstdlib>

namespace injector {

void StopOnFailedAssertion(const char* expression, const char* file, unsigned line) {
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %u\n", expression, file, line);
    std::fflush(stderr);
    std::abort();
}

}  // namespace injector
