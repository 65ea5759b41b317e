// Starting programs of the build (Tarvelo.exe and helpers) from the tests.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "app/texts.h"
#include "tests/support/message_boxes_win.h"

// The folder of this test program, which holds every program of the build.
inline std::string buildFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\'));
}

// The control of another process's main window that has its thread's focus.
inline HWND focusOfThreadOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

// Adds a task in another process's main window as a user would: a press on
// the time field, so that no tick overwrites the time typed next, then the
// two texts and a click on "确认添加". False when the press never arrived.
inline bool addTaskInWindowOf(HWND main, const std::string& time, const std::string& command) {
    HWND timeField = GetDlgItem(main, 105), pathField = GetDlgItem(main, 106), add = GetDlgItem(main, 102);
    PostMessageA(timeField, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(timeField, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    // The field takes the focus once the press went through the program.
    const DWORD start = GetTickCount();
    while (focusOfThreadOf(main) != timeField) {
        if (GetTickCount() - start > 20000) return false;
        Sleep(20);
    }
    SendMessageA(timeField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(time.c_str()));
    SendMessageA(pathField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(command.c_str()));
    SendMessageA(add, BM_CLICK, 0, 0);
    return true;
}

class ChildProcess {
public:
    explicit ChildProcess(const std::string& commandLine) {
        std::string writable = commandLine;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                  &info_) != FALSE;
        if (started_) CloseHandle(info_.hThread);
    }
    ~ChildProcess() {
        if (!started_) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
        CloseHandle(info_.hProcess);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return started_; }
    DWORD id() const { return info_.dwProcessId; }

    std::optional<DWORD> waitForExit(DWORD milliseconds) const {
        if (WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) return std::nullopt;
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

    // The process's visible main window, waiting for it to appear.
    HWND waitForMainWindow(DWORD milliseconds) const {
        const DWORD start = GetTickCount();
        do {
            if (HWND window = visibleWindowOf(info_.dwProcessId, text::kWindowTitle)) return window;
            Sleep(20);
        } while (GetTickCount() - start < milliseconds);
        return nullptr;
    }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};
