// A single-line edit box whose one text line sits centred between its top
// and bottom: the bands above and below belong to the non-client area.
#pragma once

#include <windows.h>

void makeCenteredEdit(HWND edit);
