// The event bindings, one place for all of them:
//
//   source              event                    handler
//   main window         created                  onMainWindowCreated     (loadMainWindow)
//   tick timer          period (WM_TIMER)        onSchedulerTick
//   add button          clicked (BN_CLICKED)     onAddButtonClicked
//   time field          left button pressed      onTimeFieldPressed      (pre-translation)
//   drop target         got files                onFilesDropped          (loadMainWindow)
//   task list           right click (NM_RCLICK)  onTaskListRightClick
//   menu entry 保存     chosen (WM_COMMAND)      onSaveChosen
//   menu entry 读取     chosen                   onLoadChosen
//   menu entry 删除选中 chosen                   onDeleteSelectedChosen
//   menu entry 删除全部 chosen                   onDeleteAllChosen
//   menu entry 帮助     chosen                   onHelpChosen
//
// Everything else keeps the built-in behaviour of the window and controls.
#include "app/event_bindings_win.h"

#include <commctrl.h>

#include "app/controls_win.h"
#include "app/handlers_win.h"
#include "app/main_window_win.h"
#include "app/menu_win.h"

namespace {

void onMenuEntryChosen(MainWindow& main, MenuEntryPosition entry) {
    switch (entry) {
    case kSaveEntry:
        onSaveChosen(main);
        return;
    case kLoadEntry:
        onLoadChosen(main);
        return;
    case kDeleteSelectedEntry:
        onDeleteSelectedChosen(main);
        return;
    case kDeleteAllEntry:
        onDeleteAllChosen(main);
        return;
    case kHelpEntry:
        onHelpChosen(main);
        return;
    case kSettingsEntry:
        return;  // a popup of its own, never chosen
    }
}

void onCommand(MainWindow& main, int id, int code) {
    if (id == kAddButtonId && code == BN_CLICKED) {
        onAddButtonClicked(main);
        return;
    }
    if (code != 0) return;  // 0: a menu command
    if (const std::optional<MenuEntryPosition> entry = menuEntryOfCommand(id)) onMenuEntryChosen(main, *entry);
}

LRESULT onNotify(MainWindow& main, const NMHDR& header) {
    if (header.idFrom != kTaskListId) return 0;
    switch (header.code) {
    case NM_RCLICK:
        onTaskListRightClick(main);
        return 0;
    case LVN_ENDLABELEDITA:
    case LVN_ENDLABELEDITW:
        // Keep the serial as typed; a cancelled edit carries no text.
        return reinterpret_cast<const NMLVDISPINFOA&>(header).item.pszText != nullptr;
    default:
        return 0;
    }
}

// Focus rules: remember the focused control on deactivation, give it back
// on activation, else the first visible, enabled control of the Tab cycle.
void onActivate(MainWindow& main, WORD state) {
    if (state == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(main.window, focus)) main.focusBeforeDeactivation = focus;
        return;
    }
    HWND remembered = main.focusBeforeDeactivation;
    if (remembered != nullptr && IsWindow(remembered) && IsChild(main.window, remembered)) {
        SetFocus(remembered);
        return;
    }
    HWND cycle[kTabCycleLength];
    tabCycle(main, cycle);
    for (HWND control : cycle)
        if (IsWindowVisible(control) && IsWindowEnabled(control)) {
            SetFocus(control);
            return;
        }
}

// Both edit boxes: black text on white.
LRESULT onEditColour(HDC dc) {
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
}

// The class has no brush: the client area is filled in the button face here.
LRESULT onEraseBackground(HWND window, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
}

void onDestroy(MainWindow& main) {
    KillTimer(main.window, kTickTimerId);
    RevokeDragDrop(main.window);
    PostQuitMessage(0);
}

}  // namespace

bool handleMainWindowMessage(MainWindow& main, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_COMMAND:
        onCommand(main, LOWORD(wParam), HIWORD(wParam));
        return true;
    case WM_NOTIFY:
        result = onNotify(main, *reinterpret_cast<const NMHDR*>(lParam));
        return true;
    case WM_TIMER:
        if (wParam != kTickTimerId) return false;
        onSchedulerTick(main);
        return true;
    case WM_ACTIVATE:
        onActivate(main, LOWORD(wParam));
        return true;
    case WM_ERASEBKGND:
        result = onEraseBackground(main.window, reinterpret_cast<HDC>(wParam));
        return true;
    case WM_CTLCOLOREDIT:
        result = onEditColour(reinterpret_cast<HDC>(wParam));
        return true;
    case WM_DESTROY:
        onDestroy(main);
        return true;
    default:
        return false;
    }
}

void raiseQueuedMouseEvent(MainWindow& main, const MSG& message) {
    if (message.message == WM_LBUTTONDOWN && message.hwnd == main.编辑框1) onTimeFieldPressed(main);
}
