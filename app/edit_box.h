// Edit boxes: a standard EDIT control with its line of text centred vertically, its own
// colours, and an integer-only keyboard when the form asks for it.
#pragma once
#include <windows.h>

#include "app/form.h"

// `description` must outlive the window.
HWND createEditBox(HWND parent, int childId, DWORD style, const ControlDescription& description);

// The answer to WM_CTLCOLOREDIT for one of our boxes (the box's own brush), or nullptr for
// any other window.
HBRUSH editBoxColours(HWND box, HDC dc);
