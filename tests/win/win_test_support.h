// Helpers for the Win32 tests: driving the real window through the
// program's message path, and data objects for drops.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "app/message_loop_win.h"
#include "tasks/drop_target_win.h"
#include "tests/support/message_boxes_win.h"

using Rows = std::vector<std::vector<std::string>>;

// Handles every message now waiting, and those they cause, the way the
// program's loop does. WM_QUIT stays in the queue.
inline void pumpMessages() {
    for (int round = 0; round < 3; ++round) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE) && message.message != WM_QUIT) {
            PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
            dispatchQueuedMessage(message);
        }
        Sleep(10);
    }
}

// Handles messages until `done` holds; false when `milliseconds` passed first.
inline bool pumpUntil(const std::function<bool()>& done, DWORD milliseconds = 15000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= milliseconds) return false;
        pumpMessages();
    }
    return true;
}

inline void drainQuit() {
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

inline Rows rowsOf(const TaskList& list) {
    Rows rows;
    for (int r = 0; r < list.rowCount(); ++r) {
        std::vector<std::string> row;
        for (int c = 0; c < 3; ++c) row.push_back(list.cellText(r, c));
        rows.push_back(row);
    }
    return rows;
}

// Types into the two fields and clicks "确认添加" (BM_CLICK: press and release).
inline void addTaskThroughButton(MainWindow& main, const std::string& time, const std::string& command) {
    setWindowText(main.编辑框1, time);
    setWindowText(main.编辑框2, command);
    SendMessageA(main.按钮4, BM_CLICK, 0, 0);
    pumpMessages();
}

// A menu command, as the task menu sends it.
inline void chooseMenuCommand(MainWindow& main, int id) {
    PostMessageA(main.window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    pumpMessages();
}

// A click at a screen point through the system's input queue, so that hit
// testing decides which window and which part of it gets the press.
inline void clickAt(int x, int y, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP) {
    SetCursorPos(x, y);
    pumpMessages();
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = down;
    inputs[1].mi.dwFlags = up;
    SendInput(2, inputs, sizeof(INPUT));
    pumpMessages();
}

inline void rightClickAt(POINT at) { clickAt(at.x, at.y, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP); }

// A fixture with the main window loaded, shown and active.
class ShownMainWindowTest : public testing::Test {
protected:
    void SetUp() override {
        main_ = loadMainWindow(GetModuleHandleA(nullptr));
        ASSERT_NE(main_, nullptr);
        ShowWindow(main_->window, SW_SHOW);
        SetForegroundWindow(main_->window);
        pumpMessages();
    }

    void TearDown() override {
        if (main_ && IsWindow(main_->window)) DestroyWindow(main_->window);
        drainQuit();
    }

    std::unique_ptr<MainWindow> main_;
};

// Runs a check from inside a nested message loop (a menu's or a box's): a
// thread timer, which those loops dispatch.
class NestedProbe {
public:
    static void every(UINT milliseconds, std::function<bool()> probe) {
        current() = std::move(probe);
        timer() = SetTimer(nullptr, 0, milliseconds, fire);
    }
    static void stop() {
        if (timer() != 0) KillTimer(nullptr, timer());
        timer() = 0;
        current() = nullptr;
    }

private:
    // A probe may arm the next one (for the box that its menu choice opens):
    // only a probe that is still the current one is cleared here.
    static void CALLBACK fire(HWND, UINT, UINT_PTR id, DWORD) {
        const std::function<bool()> probe = current();
        if (!probe || !probe()) return;
        KillTimer(nullptr, id);
        if (timer() == id) {
            timer() = 0;
            current() = nullptr;
        }
    }
    static std::function<bool()>& current() {
        static std::function<bool()> probe;
        return probe;
    }
    static UINT_PTR& timer() {
        static UINT_PTR id = 0;
        return id;
    }
};

// A data object with one global-memory format.
class TestDataObject final : public IDataObject {
public:
    TestDataObject(CLIPFORMAT format, std::string bytes) : format_(format), bytes_(std::move(bytes)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *object = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long left = --references_;
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes_.size());
        if (memory == nullptr) return E_OUTOFMEMORY;
        std::copy(bytes_.begin(), bytes_.end(), static_cast<char*>(GlobalLock(memory)));
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format->cfFormat == format_ && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    ~TestDataObject() = default;
    long references_ = 1;
    CLIPFORMAT format_;
    std::string bytes_;
};

using DataObjectPtr = std::unique_ptr<IDataObject, ComReleaser<IDataObject>>;

// CF_HDROP with ANSI paths, as the shell puts them in a drag.
inline DataObjectPtr makeFileDropDataObject(const std::vector<std::string>& paths) {
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = FALSE;
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    for (const auto& path : paths) bytes.append(path).push_back('\0');
    bytes.push_back('\0');
    return DataObjectPtr(new TestDataObject(CF_HDROP, bytes));
}

inline DataObjectPtr makeTextDataObject(const std::string& text) {
    return DataObjectPtr(new TestDataObject(CF_TEXT, text + '\0'));
}
