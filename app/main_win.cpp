// Tarvelo: a desktop scheduler that starts each task's command in its second.
#include <windows.h>

#include "app/startup_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return runTarvelo(instance); }
