// Move-only owner of a kernel handle: closes it once, never twice.
#pragma once

#include <windows.h>

#include <utility>

class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(HANDLE handle) noexcept : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    // Both values mean "no handle" among the Win32 functions.
    static bool isEmpty(HANDLE handle) noexcept { return handle == nullptr || handle == INVALID_HANDLE_VALUE; }

    HANDLE get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return !isEmpty(handle_); }

    HANDLE release() noexcept { return std::exchange(handle_, nullptr); }
    void reset(HANDLE handle = nullptr) noexcept {
        const HANDLE old = std::exchange(handle_, handle);
        if (!isEmpty(old)) CloseHandle(old);
    }

private:
    HANDLE handle_ = nullptr;
};
