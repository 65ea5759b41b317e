#include "app/message_loop_win.h"

#include "app/controls_win.h"
#include "app/event_bindings_win.h"
#include "app/main_window_win.h"

namespace {

bool keyHeld(int key) { return GetKeyState(key) < 0; }

// The control of the Tab cycle that holds the focus or contains it (the
// task list's in-place editor lies inside the list); -1 when none does.
int focusedCyclePosition(const MainWindow& main) {
    HWND cycle[kTabCycleLength];
    tabCycle(main, cycle);
    for (HWND window = GetFocus(); window != nullptr && window != main.window; window = GetParent(window))
        for (int i = 0; i < kTabCycleLength; ++i)
            if (cycle[i] == window) return i;
    return -1;
}

void moveFocus(const MainWindow& main, int step) {
    HWND cycle[kTabCycleLength];
    tabCycle(main, cycle);
    const int current = focusedCyclePosition(main);
    const int next = current < 0 ? 0 : (current + step + kTabCycleLength) % kTabCycleLength;
    SetFocus(cycle[next]);
}

}  // namespace

bool preTranslateMessage(MainWindow& main, const MSG& message) {
    if (message.message == WM_LBUTTONDOWN) {
        raiseQueuedMouseEvent(main, message);
        return false;
    }
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    const bool ctrl = keyHeld(VK_CONTROL);
    const bool shift = keyHeld(VK_SHIFT);
    const bool alt = keyHeld(VK_MENU) || (message.message == WM_SYSKEYDOWN && (message.lParam & (1 << 29)) != 0);
    switch (message.wParam) {
    case VK_TAB:
        if (ctrl || alt) return false;
        moveFocus(main, shift ? -1 : 1);
        return true;
    case VK_ESCAPE:
        if (ctrl || shift || alt) return false;
        SendMessageA(main.window, WM_CLOSE, 0, 0);
        return true;
    default:
        return false;  // Enter and every other key go to the focused control
    }
}

void dispatchQueuedMessage(const MSG& message) {
    MainWindow* main = message.hwnd != nullptr ? mainWindowOf(GetAncestor(message.hwnd, GA_ROOT)) : nullptr;
    if (main != nullptr && preTranslateMessage(*main, message)) return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

int runMessageLoop() {
    MSG message;
    BOOL got;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) != 0) {
        if (got == -1) return -1;
        dispatchQueuedMessage(message);
    }
    return static_cast<int>(message.wParam);
}
