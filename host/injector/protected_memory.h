// Reads and writes of game code under a memory protection change.
#pragma once

#include <cstddef>

namespace injector {

// Each copy runs under VirtualProtect to PAGE_EXECUTE_READWRITE and back. A change that
// fails is not reported and nothing is put back; a read is made all the same where the pages
// can be read as they are, a write is not (game code is read-only, and writing it would fault
// the game). A write that was made is followed by FlushInstructionCache over its bytes, so the
// processor runs the new code.
//
// Nothing is read or written where VirtualQuery finds memory that is not committed (a changed or
// packed executable, a probe address beyond the image): touching it would fault inside the
// game. Both answer whether the copy was made.
bool ProtectedWrite(void* address, const void* source, size_t size);
bool ProtectedRead(void* address, void* destination, size_t size);

// A read without a protection change, made only where every byte is committed and readable.
bool CheckedRead(const void* address, void* destination, size_t size);

}  // namespace injector
