// The task menu: a popup of the five task commands at the mouse pointer.
#include "app/handlers_win.h"
#include "app/main_window_win.h"
#include "app/menu_win.h"
#include "common/win32_ownership_win.h"

void onTaskListRightClick(MainWindow& main) {
    POINT at;
    if (!GetCursorPos(&at)) return;
    const UniqueMenu popup(createTaskMenuPopup());
    if (!popup) return;
    // The chosen command reaches the main window as WM_COMMAND, after this
    // handler has returned; Esc or a click elsewhere sends nothing.
    TrackPopupMenu(popup.get(), TPM_RIGHTBUTTON, at.x + 3, at.y + 3, 0, main.window, nullptr);
}
