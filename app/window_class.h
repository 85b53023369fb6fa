#pragma once
#include <windows.h>

// Registers one of the program's window classes, with the arrow cursor and no icon. Answers
// the class atom, 0 on failure.
inline ATOM registerWindowClass(const wchar_t* name, WNDPROC procedure, UINT style, int stockBrush)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(stockBrush));
    wc.lpszClassName = name;
    return RegisterClassExW(&wc);
}
