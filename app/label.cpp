#include "app/label.h"

#include <string>

#include "app/colours.h"
#include "app/shell.h"
#include "app/win_owners.h"
#include "app/window_class.h"
#include "app/form_access.h"

namespace {
constexpr wchar_t kClassName[] = L"TavriloLabel";

const ControlDescription* descriptionOf(HWND window)
{
    return reinterpret_cast<const ControlDescription*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

UINT drawTextFlags(const LabelSettings& s)
{
    static constexpr UINT horizontal[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    static constexpr UINT vertical[] = {DT_TOP, DT_VCENTER, DT_BOTTOM};
    UINT flags = DT_NOCLIP | horizontal[static_cast<int>(s.horizontalAlign)];
    if (s.wordWrap)
        return flags | DT_WORDBREAK | DT_VCENTER;  // DT_VCENTER has no effect without a single line
    return flags | DT_SINGLELINE | vertical[static_cast<int>(s.verticalAlign)];
}

void paint(HWND window, const LabelSettings& s)
{
    PaintScope paint(window);
    RECT client{}, area{};
    GetClientRect(window, &client);
    if (!IntersectRect(&area, &client, &paint.area()))
        return;
    fillWithColour(paint.dc(), area, s.backColor);

    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    if (text.empty())
        return;
    OwnedFont own(s.font ? createFont(*s.font) : nullptr);
    SelectedObject font(paint.dc(), own ? own.get() : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(paint.dc(), TRANSPARENT);
    SetTextColor(paint.dc(), resolveColour(s.textColor));
    DrawTextW(paint.dc(), text.c_str(), static_cast<int>(text.size()), &client, drawTextFlags(s));
}

LRESULT CALLBACK labelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    const ControlDescription* d = descriptionOf(window);
    if (!d)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        case WM_PAINT:
            paint(window, std::get<LabelSettings>(d->settings));
            return 0;
        case WM_FEEDBACK: {
            const EventResult r = raiseEvent(d->name, LabelEvent::feedback,
                                             {static_cast<std::int32_t>(wParam), static_cast<std::int32_t>(lParam)});
            return r.handled ? r.value : 0;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
}  // namespace

HWND createLabel(HWND parent, int childId, DWORD style, const ControlDescription& description)
{
    static const ATOM atom =
        registerWindowClass(kClassName, labelProc, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, NULL_BRUSH);
    if (!atom)
        return nullptr;
    const auto& s = std::get<LabelSettings>(description.settings);
    const ControlRect& r = description.rect;
    return CreateWindowExW(0, kClassName, std::wstring(s.text).c_str(), style, r.left, r.top, r.width, r.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)), GetModuleHandleW(nullptr),
                           const_cast<ControlDescription*>(&description));
}
