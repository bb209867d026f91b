#include "failing_allocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace failing_allocator {
namespace {

std::atomic<long> successesLeft{-1};  // -1: disarmed
std::atomic<bool> failed{false};

bool ShouldFail() {
    long left = successesLeft.load();
    while (left >= 0) {
        if (successesLeft.compare_exchange_weak(left, left - 1)) {
            if (left != 0) return false;
            failed = true;
            return true;
        }
    }
    return false;
}

void* Allocate(std::size_t size) noexcept {
    if (ShouldFail()) return nullptr;
    return std::malloc(size ? size : 1);
}

}  // namespace

void FailAfter(long successes) {
    failed = false;
    successesLeft = successes < 0 ? 0 : successes;
}

void Disarm() { successesLeft = -1; }

bool Failed() { return failed; }

}  // namespace failing_allocator

void* operator new(std::size_t size) {
    if (void* p = failing_allocator::Allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    if (void* p = failing_allocator::Allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return failing_allocator::Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return failing_allocator::Allocate(size);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
