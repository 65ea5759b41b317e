// Starting programs of the build (Tarvelo.exe and helpers) from the tests.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "app/texts.h"

// The folder of this test program, which holds every program of the build.
inline std::string buildFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\'));
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
            Found found{info_.dwProcessId, nullptr};
            EnumWindows(matchMainWindow, reinterpret_cast<LPARAM>(&found));
            if (found.window != nullptr) return found.window;
            Sleep(20);
        } while (GetTickCount() - start < milliseconds);
        return nullptr;
    }

private:
    struct Found {
        DWORD process;
        HWND window;
    };
    static BOOL CALLBACK matchMainWindow(HWND window, LPARAM context) {
        auto* found = reinterpret_cast<Found*>(context);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char name[64] = {};
        GetClassNameA(window, name, sizeof name);
        if (process == found->process && IsWindowVisible(window) && lstrcmpA(name, text::kWindowTitle) == 0) {
            found->window = window;
            return FALSE;
        }
        return TRUE;
    }
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};
