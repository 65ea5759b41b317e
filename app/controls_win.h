// The main window's controls: created hidden from one table, then shown.
#pragma once

#include "app/main_window_win.h"

// False when the system refuses a control.
bool createControls(MainWindow& main, HINSTANCE instance);

// Shows every control that has a visible presence, without activating it.
void showControls(const MainWindow& main);

// The controls that Tab and Shift+Tab cycle through, in order.
inline constexpr int kTabCycleLength = 4;
void tabCycle(const MainWindow& main, HWND (&cycle)[kTabCycleLength]);
