// Owns one kernel file handle and closes it exactly once.
#pragma once

#include <utility>

#include "platform.h"

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { Close(); }

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }

    // True only when exactly `size` bytes arrived.
    bool ReadExact(void* buffer, DWORD size) {
        DWORD read = 0;
        return ReadFile(handle_, buffer, size, &read, nullptr) && read == size;
    }
    // Up to `size` bytes; `read` is 0 at the end of the file.
    bool ReadSome(void* buffer, DWORD size, DWORD& read) {
        read = 0;
        return ReadFile(handle_, buffer, size, &read, nullptr) != 0;
    }
    // True only when exactly `size` bytes were taken.
    bool WriteExact(const void* buffer, DWORD size) {
        DWORD written = 0;
        return WriteFile(handle_, buffer, size, &written, nullptr) && written == size;
    }

    void Close() {
        if (IsOpen()) CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE));
    }

private:
    HANDLE handle_;
};
