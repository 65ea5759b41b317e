// Owners of Win32 resources, one place for all of them: each frees what it
// holds exactly once, when it goes out of scope, and none can be copied.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>
#include <utility>

// A kernel handle, closed once, never twice.
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

// A COM interface, released once.
template <typename Interface>
struct ComReleaser {
    void operator()(Interface* object) const noexcept {
        if (object != nullptr) object->Release();
    }
};

// A menu, destroyed with its popups.
struct MenuDestroyer {
    void operator()(HMENU menu) const noexcept { DestroyMenu(menu); }
};
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer>;

// A window's device context from GetDC (its client area) or GetWindowDC
// (the whole window, frame included), released once.
class WindowDeviceContext {
public:
    enum class Area { client, wholeWindow };
    explicit WindowDeviceContext(HWND window, Area area = Area::client) noexcept
        : window_(window), dc_(area == Area::client ? GetDC(window) : GetWindowDC(window)) {}
    ~WindowDeviceContext() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    WindowDeviceContext(const WindowDeviceContext&) = delete;
    WindowDeviceContext& operator=(const WindowDeviceContext&) = delete;

    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// The device context of one WM_PAINT, from BeginPaint to EndPaint.
class PaintSession {
public:
    explicit PaintSession(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintSession() { EndPaint(window_, &paint_); }
    PaintSession(const PaintSession&) = delete;
    PaintSession& operator=(const PaintSession&) = delete;

    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A GDI object selected into a device context; the one it replaced is put
// back on leaving the scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};
