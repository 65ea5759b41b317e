#include "app/label_win.h"

#include <commctrl.h>

#include <string>

#include "common/win32_ownership_win.h"

namespace {

constexpr UINT_PTR kSubclassId = 1;

void paintLabel(HWND label) {
    const PaintSession paint(label);
    HDC dc = paint.get();
    RECT area;
    GetClientRect(label, &area);
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));

    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(label)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(label, text.data(), static_cast<int>(text.size()))));
    const auto font = reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0));
    const SelectedObject selected(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area, DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_NOPREFIX);
}

LRESULT CALLBACK labelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
    case WM_PAINT:
        paintLabel(label);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the paint fills the whole label
    case WM_SETTEXT: {
        // The static control may draw the new text its own way at once;
        // paint over it through WM_PAINT.
        const LRESULT result = DefSubclassProc(label, message, wParam, lParam);
        InvalidateRect(label, nullptr, FALSE);
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(label, labelProc, kSubclassId);
        break;
    }
    return DefSubclassProc(label, message, wParam, lParam);
}

}  // namespace

void makeSelfPaintedLabel(HWND label) {
    SetWindowSubclass(label, labelProc, kSubclassId, 0);
    InvalidateRect(label, nullptr, FALSE);
}
