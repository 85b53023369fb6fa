// The web page pane: the left part of the main window, where the campaign page is shown.
#pragma once
#include <windows.h>

#include "app/form.h"

HWND createWebPagePane(HWND parent, int childId, DWORD style, const ControlDescription& description);
