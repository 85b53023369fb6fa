#include "app/main_window.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <type_traits>
#include <variant>

#include "app/centring.h"
#include "app/colours.h"
#include "app/edit_box.h"
#include "app/keyboard_order.h"
#include "app/label.h"
#include "app/shell.h"
#include "app/win_owners.h"
#include "app/window_class.h"
#include "clicker/interval_timer.h"
#include "hotkeys/hotkeys.h"
#include "webpane/web_page_pane.h"

namespace {
constexpr wchar_t kClassName[] = L"TavriloMainWindow";
constexpr int kFirstChildId = 1001;  // the controls' identifiers, in record order

DWORD windowStyle(const WindowSettings& s)
{
    // A fixed single frame with a title bar: the window can be moved but not resized.
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
    if (s.controlBox)
        style |= WS_SYSMENU;
    if (s.minButton)
        style |= WS_MINIMIZEBOX;
    if (s.maxButton)
        style |= WS_MAXIMIZEBOX;
    return style;
}

HWND createPushButton(HWND parent, int childId, DWORD style, const ControlDescription& d)
{
    const auto& s = std::get<ButtonSettings>(d.settings);
    static constexpr DWORD horizontal[] = {BS_LEFT, BS_CENTER, BS_RIGHT};
    static constexpr DWORD vertical[] = {BS_TOP, BS_VCENTER, BS_BOTTOM};
    style |= (s.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | BS_MULTILINE |
             horizontal[static_cast<int>(s.horizontalAlign)] | vertical[static_cast<int>(s.verticalAlign)];
    const ControlRect& r = d.rect;
    HWND button =
        CreateWindowExW(0, WC_BUTTONW, std::wstring(s.caption).c_str(), style, r.left, r.top, r.width, r.height, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)), GetModuleHandleW(nullptr), nullptr);
    if (button)
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return button;
}

HWND createControl(HWND parent, int childId, const ControlDescription& d)
{
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;  // hidden until the whole form is in place
    if (d.tabStop)
        style |= WS_TABSTOP;
    if (d.disable)
        style |= WS_DISABLED;
    return std::visit(
        [&](const auto& settings) -> HWND {
            using Kind = std::decay_t<decltype(settings)>;
            if constexpr (std::is_same_v<Kind, LabelSettings>) {
                return createLabel(parent, childId, style, d);
            } else if constexpr (std::is_same_v<Kind, EditBoxSettings>) {
                return createEditBox(parent, childId, style, d);
            } else if constexpr (std::is_same_v<Kind, ButtonSettings>) {
                return createPushButton(parent, childId, style, d);
            } else if constexpr (std::is_same_v<Kind, TimerSettings>) {
                const RECT rect{d.rect.left, d.rect.top, d.rect.left + d.rect.width, d.rect.top + d.rect.height};
                const EventSource name = d.name;
                return IntervalTimer::create(parent, childId, rect, settings.period,
                                             [name] { raiseEvent(name, TimerEvent::periodElapsed); });
            } else {
                return createWebPagePane(parent, childId, style, d);
            }
        },
        d.settings);
}
}  // namespace

MainWindow* MainWindow::create(const FormDescription& form)
{
    // No background brush: WM_PAINT fills the client area itself.
    static const ATOM atom =
        registerWindowClass(kClassName, windowProc, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, NULL_BRUSH);
    if (!atom)
        return nullptr;

    const WindowSettings& s = form.window;
    const ScreenPoint at =
        centredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), s.rect.width, s.rect.height);
    // WM_NCCREATE hands the object over to the window, which frees it at WM_NCDESTROY; if the
    // window never gets that far, the unique_ptr frees it here.
    CreateArgs args{std::unique_ptr<MainWindow>(new MainWindow(form))};
    MainWindow* self = args.self.get();
    HWND window =
        CreateWindowExW(s.topmost ? WS_EX_TOPMOST : 0, kClassName, std::wstring(s.caption).c_str(), windowStyle(s),
                        at.x, at.y, s.rect.width, s.rect.height, nullptr, nullptr, GetModuleHandleW(nullptr), &args);
    if (!window)
        return nullptr;

    RECT outer{};
    GetWindowRect(window, &outer);
    if (outer.right - outer.left != s.rect.width || outer.bottom - outer.top != s.rect.height)
        SetWindowPos(window, nullptr, outer.left, outer.top, s.rect.width, s.rect.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);

    // Shared resource icons: Windows keeps them, nothing to free.
    HINSTANCE module = GetModuleHandleW(nullptr);
    auto icon = [&](int cx, int cy) {
        return LoadImageW(module, L"DEFAULT_ICON", IMAGE_ICON, GetSystemMetrics(cx), GetSystemMetrics(cy), LR_SHARED);
    };
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon(SM_CXICON, SM_CYICON)));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon(SM_CXSMICON, SM_CYSMICON)));
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);

    if (!self->createControls()) {
        DestroyWindow(window);  // frees `self` too
        return nullptr;
    }
    self->stackAndShowControls();
    instance_ = self;
    return self;
}

bool MainWindow::createControls()
{
    // Last record first, as the form is built from the bottom of its stack up.
    for (std::size_t i = form_.controls.size(); i-- > 0;) {
        const ControlDescription& d = form_.controls[i];
        HWND control = createControl(window_, kFirstChildId + static_cast<int>(i), d);
        if (!control)
            return false;
        controls_[static_cast<std::size_t>(d.name)] = control;
    }
    return true;
}

void MainWindow::stackAndShowControls()
{
    HWND above = HWND_TOP;
    for (const ControlDescription& d : form_.controls) {
        HWND control = this->control(d.name);
        SetWindowPos(control, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = control;
    }
    for (const ControlDescription& d : form_.controls) {
        if (d.visible && !std::holds_alternative<TimerSettings>(d.settings))
            ShowWindow(control(d.name), SW_SHOWNA);
    }
}

LRESULT CALLBACK MainWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* args = static_cast<CreateArgs*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        MainWindow* self = args->self.release();
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        const bool wasLoaded = instance_ == self;
        if (wasLoaded)
            instance_ = nullptr;
        delete self;
        // The program's last window is gone. A window that never finished loading posts no quit:
        // that would close the start-up error message at once.
        if (wasLoaded)
            PostQuitMessage(0);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case WM_PAINT:
            onPaint();
            return 0;
        case WM_COMMAND:
            onCommand(wParam, lParam);
            return 0;
        case WM_CTLCOLOREDIT:
            // Each edit box answers for itself.
            if (HBRUSH brush = editBoxColours(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)))
                return reinterpret_cast<LRESULT>(brush);
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(window_, focus))
                    rememberedFocus_ = focus;
            }
            break;  // on activation, the default procedure focuses the window: WM_SETFOCUS follows
        case WM_SETFOCUS:
            focusInitialControl();
            return 0;
        case WM_HOTKEY:
            hotkeyRegistry().interceptHotkey(window_, wParam);
            break;  // and on to the window's own default handling
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void MainWindow::onPaint()
{
    PaintScope paint(window_);
    fillWithColour(paint.dc(), paint.area(), form_.window.backColor);
}

void MainWindow::onCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) != BN_CLICKED || !lParam)
        return;
    // Handed back to the button that reported it, which raises its clicked event.
    for (const ControlDescription& d : form_.controls) {
        if (control(d.name) == reinterpret_cast<HWND>(lParam) && std::holds_alternative<ButtonSettings>(d.settings)) {
            raiseEvent(d.name, ButtonEvent::clicked);
            return;
        }
    }
}

std::optional<std::size_t> MainWindow::recordOf(HWND window) const
{
    if (!window)
        return std::nullopt;
    HWND parent = GetParent(window);
    for (std::size_t i = 0; i < form_.controls.size(); ++i) {
        HWND c = control(form_.controls[i].name);
        if (c == window || c == parent)
            return i;
    }
    return std::nullopt;
}

namespace {
// The keyboard order as the controls are now: visible, enabled and with a tab stop.
std::vector<std::size_t> liveKeyboardOrder(const FormDescription& form, const MainWindow& w)
{
    std::vector<TabCandidate> candidates = tabCandidates(form.controls);
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        HWND c = w.control(form.controls[i].name);
        candidates[i].visible = IsWindowVisible(c) != FALSE;
        candidates[i].enabled = IsWindowEnabled(c) != FALSE;
        candidates[i].tabStop = (GetWindowLongPtrW(c, GWL_STYLE) & WS_TABSTOP) != 0;
    }
    return keyboardOrder(candidates);
}
}  // namespace

void MainWindow::focusInitialControl()
{
    if (rememberedFocus_ && IsWindow(rememberedFocus_) && IsChild(window_, rememberedFocus_)) {
        SetFocus(rememberedFocus_);
        return;
    }
    const std::vector<std::size_t> order = liveKeyboardOrder(form_, *this);
    if (!order.empty())
        SetFocus(control(form_.controls[order.front()].name));
}

void MainWindow::moveFocus(bool backwards)
{
    // Focus deeper than a control's own window (inside the browser's windows) stays put.
    const std::optional<std::size_t> current = recordOf(GetFocus());
    if (!current)
        return;
    if (auto next = nextInKeyboardOrder(liveKeyboardOrder(form_, *this), *current, backwards))
        SetFocus(control(form_.controls[*next].name));
}

bool MainWindow::preTranslate(const MSG& msg)
{
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST)
        return false;
    if (msg.hwnd != window_ && !IsChild(window_, msg.hwnd))
        return false;
    if (!IsWindowEnabled(msg.hwnd))
        return false;
    // No control here claims a key for itself: only a writable multi-line edit box would claim
    // Enter, and the interval box is single-line. Enter itself has no default button to click.
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
        return false;
    switch (msg.wParam) {
        case VK_TAB:
            moveFocus(GetKeyState(VK_SHIFT) < 0);
            return true;
        case VK_ESCAPE:
            if (!form_.window.escCloses)
                return false;
            SendMessageW(window_, WM_CLOSE, 0, 0);
            return true;
    }
    return false;
}
