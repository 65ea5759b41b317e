// The help notice: the usage text in an information box that closes itself.
#pragma once

#include <windows.h>

inline constexpr DWORD kHelpNoticeMilliseconds = 10000;

void showHelpNotice();

// The first visible top-level window of this process, dispatching pending
// events between candidates; null after 31,536,000 ms without one.
HWND findOwnProcessWindow();

// Dispatches every message already waiting, along the program's message
// path; a WM_QUIT stays queued for the main loop.
void processPendingEvents();
