// Owning pointer for COM interfaces: one reference held, released exactly once.
#pragma once

#include <utility>

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            ptr_ = std::exchange(other.ptr_, nullptr);
        }
        return *this;
    }
    ~ComPtr() { Reset(); }

    // Takes over a reference the caller already owns (as returned through an out-pointer).
    static ComPtr Adopt(T* raw) {
        ComPtr p;
        p.ptr_ = raw;
        return p;
    }

    // Takes a reference of its own to an interface somebody else holds.
    static ComPtr Retain(T* raw) {
        if (raw) raw->AddRef();
        return Adopt(raw);
    }

    T* Get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }

    // Releases what is held and hands out the slot for a call that returns a new reference.
    T** Put() {
        Reset();
        return &ptr_;
    }
    // The same slot typed as void** for QueryInterface-style calls.
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    void Reset() {
        if (ptr_) {
            T* old = std::exchange(ptr_, nullptr);
            old->Release();
        }
    }

private:
    T* ptr_ = nullptr;
};
