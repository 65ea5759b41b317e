// The message loop and the window's pre-translation of queued messages.
#pragma once

#include <windows.h>

struct MainWindow;

// Tab and Shift+Tab move through the Tab cycle; Esc alone closes the window;
// a left-button press on the time field raises its event and goes on. True
// when the message was consumed.
bool preTranslateMessage(MainWindow& main, const MSG& message);

// One queued message along the program's message path.
void dispatchQueuedMessage(const MSG& message);

// Until WM_QUIT; returns its exit code.
int runMessageLoop();
