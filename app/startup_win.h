// The process from start to end.
#pragma once

#include <windows.h>

// Sets the current directory to the program's folder, initialises OLE,
// loads and shows the main window and runs the message loop. Returns the
// exit code: 0 after a normal close, -1 when the window cannot be created.
int runTarvelo(HINSTANCE instance);
