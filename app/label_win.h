// A static label that paints its own text: one line, left, centred
// vertically, "&" literal, black on the button face, clipped to the label.
#pragma once

#include <windows.h>

void makeSelfPaintedLabel(HWND label);
