// A report-style list view with three columns, for the benchmarks that
// drive the real control.
#pragma once

#include <windows.h>
#include <commctrl.h>

inline HWND createBenchListView(HWND parent = nullptr, int width = 450, int height = 320) {
    const DWORD style = (parent != nullptr ? WS_CHILD : WS_OVERLAPPEDWINDOW) | LVS_REPORT;
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", style, 0, 0, width, height, parent, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    for (int c = 0; c < 3; ++c) {
        LVCOLUMNA column{};
        column.mask = LVCF_WIDTH;
        column.cx = width / 3;
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
    }
    return list;
}
