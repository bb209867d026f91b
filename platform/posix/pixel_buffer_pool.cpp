#include "pixel_buffer_pool.h"

#include <sanitizer/asan_interface.h>

#include <mutex>
#include <new>
#include <utility>
#include <vector>

namespace substitute {
namespace {

// Enough for every buffer of a blurred 512 x 512 chain at once; larger ones go back at once.
constexpr size_t kMaxKeptBytes = size_t(8) << 20;

struct KeptBuffer {
    std::unique_ptr<uint8_t[]> bytes;
    size_t size;
};

class Pool {
public:
    std::unique_ptr<uint8_t[]> Take(size_t size) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            for (size_t i = kept_.size(); i-- > 0;) {
                if (kept_[i].size != size) continue;
                std::unique_ptr<uint8_t[]> bytes = std::move(kept_[i].bytes);
                kept_.erase(kept_.begin() + static_cast<std::ptrdiff_t>(i));
                keptBytes_ -= size;
                ASAN_UNPOISON_MEMORY_REGION(bytes.get(), size);
                return bytes;
            }
        }
        return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[size]);
    }

    void Give(std::unique_ptr<uint8_t[]> bytes, size_t size) {
        if (!bytes || size > kMaxKeptBytes) return;
        std::lock_guard<std::mutex> lock(mutex_);
        // The oldest go first: the sizes in use now are the ones asked for next.
        while (keptBytes_ + size > kMaxKeptBytes) {
            keptBytes_ -= kept_.front().size;
            ASAN_UNPOISON_MEMORY_REGION(kept_.front().bytes.get(), kept_.front().size);
            kept_.erase(kept_.begin());
        }
        // A texture's pixels touched after its release show as a use after poisoning.
        ASAN_POISON_MEMORY_REGION(bytes.get(), size);
        kept_.push_back({std::move(bytes), size});
        keptBytes_ += size;
    }

private:
    std::mutex mutex_;
    std::vector<KeptBuffer> kept_;  // oldest first
    size_t keptBytes_ = 0;
};

// Never destroyed, so textures released by other static destructors still find it.
Pool& ThePool() {
    static Pool* pool = new Pool;
    return *pool;
}

}  // namespace

PixelBuffer::PixelBuffer(PixelBuffer&& other) noexcept
    : bytes_(std::move(other.bytes_)), size_(std::exchange(other.size_, 0)) {}

PixelBuffer& PixelBuffer::operator=(PixelBuffer&& other) noexcept {
    if (this != &other) {
        ThePool().Give(std::move(bytes_), size_);
        bytes_ = std::move(other.bytes_);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

PixelBuffer::~PixelBuffer() { ThePool().Give(std::move(bytes_), size_); }

PixelBuffer PixelBuffer::Take(size_t size) {
    PixelBuffer buffer;
    buffer.bytes_ = ThePool().Take(size);
    if (buffer.bytes_) buffer.size_ = size;
    return buffer;
}

}  // namespace substitute
