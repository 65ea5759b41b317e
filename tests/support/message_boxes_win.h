// Finding the message boxes and popup menus that a test's actions open:
// visible top-level windows of one process, boxes of class "#32770" and
// menus of class "#32768" (and, by its class, a started program's window).
#pragma once

#include <windows.h>

#include <string>

struct VisibleWindowSearch {
    const char* className;
    DWORD process;
    HWND found;
};

inline BOOL CALLBACK matchVisibleWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<VisibleWindowSearch*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (process == search->process && lstrcmpA(name, search->className) == 0 && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The first such window of the process, or null.
inline HWND visibleWindowOf(DWORD process, const char* className) {
    VisibleWindowSearch search{className, process, nullptr};
    EnumWindows(matchVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline HWND visibleWindowOfThisProcess(const char* className) {
    return visibleWindowOf(GetCurrentProcessId(), className);
}

// A message box's text: its static control 0xFFFF.
inline std::string messageBoxText(HWND box) {
    char text[1024] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}
