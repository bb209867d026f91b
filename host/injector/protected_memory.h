// Reads and writes of game code under a memory protection change.
#pragma once

#include <cstddef>

namespace injector {

// Each copy runs under VirtualProtect to PAGE_EXECUTE_READWRITE and back. A change that
// fails is not reported: the copy is made all the same and nothing is put back.
void ProtectedWrite(void* address, const void* source, size_t size);
void ProtectedRead(void* address, void* destination, size_t size);

}  // namespace injector
