// What the program's handlers may use of the built window: its handle and its controls'.
#pragma once
#include <windows.h>

#include "app/events.h"

// Sent to a label to raise its feedback event with (wParam, lParam); the label answers 0.
constexpr UINT WM_FEEDBACK = 0x8075;

HWND mainWindowHandle();
HWND controlWindow(EventSource control);
