// Pixel memory for the substitute's textures, kept after use: a chain of levels asks for the
// same few sizes on every load, and memory fresh from the system costs a page fault for every
// page it touches.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace substitute {

// Bytes of unspecified content, given back to the pool when the buffer goes.
class PixelBuffer {
public:
    PixelBuffer() = default;
    PixelBuffer(PixelBuffer&& other) noexcept;
    PixelBuffer& operator=(PixelBuffer&& other) noexcept;
    ~PixelBuffer();

    // An empty buffer (null data) when the memory cannot be had.
    static PixelBuffer Take(size_t size);

    uint8_t* data() const { return bytes_.get(); }
    size_t size() const { return size_; }

private:
    std::unique_ptr<uint8_t[]> bytes_;
    size_t size_ = 0;
};

}  // namespace substitute
