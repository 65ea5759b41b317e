// The help notice: the usage text in an information box that closes itself.
#pragma once

#include <windows.h>

inline constexpr DWORD kHelpNoticeMilliseconds = 10000;

void showHelpNotice();

using MessageBoxTimeoutFunction = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT, WORD, DWORD);
using MessageBoxTimeoutLookup = MessageBoxTimeoutFunction (*)();

// Where the notice finds MessageBoxTimeoutA (user32, by name). A test puts
// a lookup that finds nothing in its place, as on a system without it; null
// puts the real one back.
void setMessageBoxTimeoutLookup(MessageBoxTimeoutLookup lookup) noexcept;

// The first visible top-level window of this process, dispatching pending
// events between candidates; null after 31,536,000 ms without one, and at
// once when the program is ending.
HWND findOwnProcessWindow();

// The quit message waits in the queue, or no visible window of this
// process is left.
bool programIsEnding();

// Dispatches every message already waiting, along the program's message
// path; a WM_QUIT stays queued for the main loop.
void processPendingEvents();
