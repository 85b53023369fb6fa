#include "app/edit_box.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <memory>
#include <string>

#include "app/colours.h"
#include "app/win_owners.h"

namespace {
constexpr UINT_PTR kSubclassId = 1;
constexpr wchar_t kBoxProperty[] = L"TavriloEditBox";  // finds the box for WM_CTLCOLOREDIT

struct EditBox {
    const EditBoxSettings& settings;
    OwnedBrush background;
    OwnedFont font;  // only when the form gives one; else the stock GUI font
};

EditBox* editBoxOf(HWND window)
{
    return static_cast<EditBox*>(GetPropW(window, kBoxProperty));
}

HFONT fontOf(HWND window)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// Height of the letter "W" in the box's font: the height of its line of text.
int lineHeight(HWND window)
{
    WindowDC dc(window);
    SelectedObject font(dc.get(), fontOf(window));
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), L"W", 1, &size);
    return size.cy;
}

RECT clientOnScreen(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

// The client rectangle in the coordinates of the whole window.
RECT clientInWindow(HWND window)
{
    RECT client = clientOnScreen(window), outer{};
    GetWindowRect(window, &outer);
    OffsetRect(&client, -outer.left, -outer.top);
    return client;
}

bool acceptsChar(InputMode mode, WPARAM ch)
{
    if (mode != InputMode::IntegerText || ch < 32)
        return true;  // control codes pass: Backspace and the clipboard keys work as usual
    return ch == L'-' || (ch >= L'0' && ch <= L'9');
}

LRESULT CALLBACK editProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    auto* box = reinterpret_cast<EditBox*>(data);
    switch (message) {
        case WM_CHAR:
            if (!acceptsChar(box->settings.inputMode, wParam))
                return 0;
            break;
        case WM_NCCALCSIZE: {
            LRESULT result = DefSubclassProc(window, message, wParam, lParam);
            RECT& r = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : *reinterpret_cast<RECT*>(lParam);
            const int h = lineHeight(window);
            r.top += (r.bottom - r.top - h) / 2;
            r.bottom = r.top + h;
            return result;
        }
        case WM_NCPAINT: {
            // Fill the band between the narrowed client area and the frame, then let the frame draw.
            {
                WindowDC dc(window, WindowDC::Whole);
                RECT outer{};
                GetWindowRect(window, &outer);
                OffsetRect(&outer, -outer.left, -outer.top);
                if (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)
                    InflateRect(&outer, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
                const RECT client = clientInWindow(window);
                ExcludeClipRect(dc.get(), client.left, client.top, client.right, client.bottom);
                FillRect(dc.get(), &outer, box->background.get());
            }
            return DefSubclassProc(window, message, wParam, lParam);
        }
        case WM_NCHITTEST: {
            const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            const RECT client = clientOnScreen(window);
            if (!PtInRect(&client, pt))
                return HTBORDER;
            break;
        }
        case WM_ERASEBKGND: {
            RECT client{};
            GetClientRect(window, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, box->background.get());
            return 1;
        }
        case WM_NCDESTROY:
            RemovePropW(window, kBoxProperty);
            RemoveWindowSubclass(window, editProc, kSubclassId);
            delete box;
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

DWORD editStyle(const EditBoxSettings& s)
{
    static constexpr DWORD alignment[] = {ES_LEFT, ES_CENTER, ES_RIGHT};
    static constexpr DWORD caseConversion[] = {0, ES_UPPERCASE, ES_LOWERCASE};
    DWORD style = alignment[static_cast<int>(s.alignment)] | caseConversion[s.caseConversion];
    style |= s.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL;
    if (!s.hideSelection)
        style |= ES_NOHIDESEL;
    return style;
}
}  // namespace

HWND createEditBox(HWND parent, int childId, DWORD style, const ControlDescription& description)
{
    const auto& s = std::get<EditBoxSettings>(description.settings);
    const ControlRect& r = description.rect;
    HWND window =
        CreateWindowExW(s.border ? WS_EX_CLIENTEDGE : 0, WC_EDITW, std::wstring(s.text).c_str(), style | editStyle(s),
                        r.left, r.top, r.width, r.height, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)), GetModuleHandleW(nullptr), nullptr);
    if (!window)
        return nullptr;
    // Owned here until the subclass holds it; from then on WM_NCDESTROY frees it.
    auto owned = std::make_unique<EditBox>(EditBox{s, OwnedBrush(CreateSolidBrush(resolveColour(s.backColor))),
                                                   OwnedFont(s.font ? createFont(*s.font) : nullptr)});
    EditBox* box = owned.get();
    if (!SetPropW(window, kBoxProperty, box) ||
        !SetWindowSubclass(window, editProc, kSubclassId, reinterpret_cast<DWORD_PTR>(box))) {
        RemovePropW(window, kBoxProperty);
        DestroyWindow(window);
        return nullptr;
    }
    owned.release();
    HFONT font = box->font ? box->font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(window, EM_LIMITTEXT, static_cast<WPARAM>(s.maxLength), 0);
    SendMessageW(window, EM_SETSEL, static_cast<WPARAM>(s.selectionStart),
                 static_cast<LPARAM>(s.selectionStart + s.selectionLength));
    SendMessageW(window, EM_SCROLLCARET, 0, 0);

    // A one-line box too low for its text grows to fit; then the frame is recomputed with the
    // subclass in place, which centres the line.
    int height = r.height;
    if (!s.multiLine) {
        TEXTMETRICW tm{};
        WindowDC dc(window);
        SelectedObject selected(dc.get(), fontOf(window));
        GetTextMetricsW(dc.get(), &tm);
        height = std::max<int>(height, tm.tmHeight + 2 * GetSystemMetrics(SM_CYEDGE));
    }
    SetWindowPos(window, nullptr, 0, 0, r.width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return window;
}

HBRUSH editBoxColours(HWND box, HDC dc)
{
    EditBox* b = editBoxOf(box);
    if (!b)
        return nullptr;
    SetTextColor(dc, resolveColour(b->settings.textColor));
    SetBkColor(dc, resolveColour(b->settings.backColor));
    return b->background.get();
}
