#include "webpane/web_page_pane.h"

namespace {
constexpr wchar_t kClassName[] = L"TavriloWebPagePane";
}

HWND createWebPagePane(HWND parent, int childId, DWORD style, const ControlDescription& description)
{
    static const ATOM atom = [] {
        WNDCLASSEXW wc{sizeof wc};
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc);
    }();
    if (!atom)
        return nullptr;
    const ControlRect& r = description.rect;
    return CreateWindowExW(0, kClassName, L"", style, r.left, r.top, r.width, r.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)), GetModuleHandleW(nullptr),
                           nullptr);
}
