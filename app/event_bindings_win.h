// Where the main window's events meet their handlers.
#pragma once

#include <windows.h>

struct MainWindow;

// The main window's messages; false leaves a message to DefWindowProc.
bool handleMainWindowMessage(MainWindow& main, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// Queued mouse messages that raise an event before their control gets them.
void raiseQueuedMouseEvent(MainWindow& main, const MSG& message);
