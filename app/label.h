// Labels paint their own text and raise their feedback event on WM_FEEDBACK.
#pragma once
#include <windows.h>

#include "app/form.h"

// `description` must outlive the window; it holds the label's settings and name.
HWND createLabel(HWND parent, int childId, DWORD style, const ControlDescription& description);
