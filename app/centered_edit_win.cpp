#include "app/centered_edit_win.h"

#include <commctrl.h>

#include <initializer_list>

#include "common/win32_ownership_win.h"

namespace {

constexpr UINT_PTR kSubclassId = 1;

// The height of one text line: the letter "W" in the box's font.
int lineHeight(HWND edit) {
    const WindowDeviceContext dc(edit);
    const auto font = reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0));
    const SelectedObject selected(dc.get(), font != nullptr ? font : GetStockObject(SYSTEM_FONT));
    SIZE size{};
    GetTextExtentPoint32A(dc.get(), "W", 1, &size);
    return size.cy;
}

// Narrows the client area that the system computed to one centred line.
LRESULT onNcCalcSize(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
    RECT& client = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0];  // the same place for both forms
    const int line = lineHeight(edit);
    const int height = client.bottom - client.top;
    if (line < height) {
        client.top += (height - line) / 2;
        client.bottom = client.top + line;
    }
    return result;
}

// A point in the box but outside its text line is on the border.
LRESULT onNcHitTest(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    RECT window;
    GetWindowRect(edit, &window);
    POINT point = screen;
    ScreenToClient(edit, &point);
    RECT client;
    GetClientRect(edit, &client);
    if (PtInRect(&window, screen) && !PtInRect(&client, point)) return HTBORDER;
    return DefSubclassProc(edit, message, wParam, lParam);
}

// Lets the system draw the border, then fills the bands in the box's colour.
LRESULT onNcPaint(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
    RECT window;
    GetWindowRect(edit, &window);
    RECT client;
    GetClientRect(edit, &client);
    MapWindowPoints(edit, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    OffsetRect(&window, -window.left, -window.top);

    const int border = GetSystemMetrics(SM_CXBORDER);
    RECT inside = window;
    InflateRect(&inside, -border, -border);

    const WindowDeviceContext windowDc(edit, WindowDeviceContext::Area::wholeWindow);
    HDC dc = windowDc.get();
    // Ask the parent for the brush it gives the box, as the box itself does.
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageA(GetParent(edit), WM_CTLCOLOREDIT,
                                                             reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit)));
    const HBRUSH fill = brush != nullptr ? brush : GetSysColorBrush(COLOR_WINDOW);
    RECT above{inside.left, inside.top, inside.right, client.top};
    RECT below{inside.left, client.bottom, inside.right, inside.bottom};
    RECT left{inside.left, client.top, client.left, client.bottom};
    RECT right{client.right, client.top, inside.right, client.bottom};
    for (const RECT& band : {above, below, left, right})
        if (band.right > band.left && band.bottom > band.top) FillRect(dc, &band, fill);
    return result;
}

LRESULT CALLBACK centeredEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
    case WM_NCCALCSIZE:
        return onNcCalcSize(edit, message, wParam, lParam);
    case WM_NCHITTEST:
        return onNcHitTest(edit, message, wParam, lParam);
    case WM_NCPAINT:
        return onNcPaint(edit, message, wParam, lParam);
    case WM_SETFONT: {
        // A new font changes the line height: have the frame computed again.
        const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
        SetWindowPos(edit, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(edit, centeredEditProc, kSubclassId);
        break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

void makeCenteredEdit(HWND edit) {
    // An edit box created with WS_BORDER drops the style and draws a border
    // inside its client area, which would then frame only the text line.
    // Created without it, the box gets WS_BORDER now, so that the system
    // draws the thin border in the non-client area around the bands.
    const auto style = GetWindowLongPtrA(edit, GWL_STYLE);
    SetWindowLongPtrA(edit, GWL_STYLE, style | WS_BORDER);
    SetWindowSubclass(edit, centeredEditProc, kSubclassId, 0);
    SetWindowPos(edit, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}
