#include "webpane/web_page_pane.h"

#include "app/window_class.h"

namespace {
constexpr wchar_t kClassName[] = L"TavriloWebPagePane";
}

HWND createWebPagePane(HWND parent, int childId, DWORD style, const ControlDescription& description)
{
    static const ATOM atom =
        registerWindowClass(kClassName, DefWindowProcW, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, WHITE_BRUSH);
    if (!atom)
        return nullptr;
    const ControlRect& r = description.rect;
    return CreateWindowExW(0, kClassName, L"", style, r.left, r.top, r.width, r.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)), GetModuleHandleW(nullptr), nullptr);
}
