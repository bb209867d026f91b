// The saved-bytes object: up to `bufsize` bytes of game code, kept so they can be put back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "hooking_assert.h"
#include "protected_memory.h"
#include "scoped_base.h"

namespace injector {

template <size_t bufsize>
class scoped_basic : public scoped_base {
public:
    scoped_basic() = default;
    scoped_basic(const scoped_basic&) = delete;
    scoped_basic& operator=(const scoped_basic&) = delete;

    // Puts the saved bytes back, if any are still saved.
    ~scoped_basic() override { scoped_basic::RestoreBytes(); }

    void RestoreBytes() override {
        if (!saved) return;
        if (protect)
            ProtectedWrite(address, bytes, size);
        else
            std::memcpy(address, bytes, size);
        saved = false;
    }

    // Takes `n` bytes at `at`, after putting back what was saved before.
    virtual void SaveBytes(void* at, uint32_t n, bool changeProtection) {
        if (!(n <= bufsize)) StopOnFailedAssertion("size <= bufsize", "injector\\hooking", 82);
        RestoreBytes();
        protect = changeProtection;
        address = at;
        size = n;
        // Bytes that could not be read are not saved: putting back what was never read would
        // write zeros over the game's code.
        if (protect)
            saved = ProtectedRead(address, bytes, size);
        else {
            std::memcpy(bytes, address, size);
            saved = true;
        }
    }

    bool IsSaved() const { return saved; }

private:
    uint8_t bytes[bufsize] = {};  // the game's code as it was before the change
    void* address = nullptr;      // where the bytes came from
    uint32_t size = 0;            // how many of them, at most bufsize
    bool saved = false;           // bytes are held that still have to go back
    bool protect = false;         // change memory protection around each access
};

}  // namespace injector
