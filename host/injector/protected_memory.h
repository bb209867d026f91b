// Reads and writes of game code under a memory protection change.
#pragma once

#include <cstddef>

namespace injector {

// Each copy runs under VirtualProtect to PAGE_EXECUTE_READWRITE and back. A change that
// fails is not reported and nothing is put back; a read is made all the same, a write is not
// (game code is read-only, and writing it would fault the game).
void ProtectedWrite(void* address, const void* source, size_t size);
void ProtectedRead(void* address, void* destination, size_t size);

}  // namespace injector
