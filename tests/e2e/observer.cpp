#include "observer.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>

namespace e2e {

namespace {

// The hook procedure has no context argument: it finds its observer here.
std::atomic<MouseObserver*> activeObserver{nullptr};

bool isButtonMessage(WPARAM message)
{
    return message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_RBUTTONDOWN ||
           message == WM_RBUTTONUP;
}

const char* messageName(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN: return "left-down";
    case WM_LBUTTONUP: return "left-up";
    case WM_RBUTTONDOWN: return "right-down";
    case WM_RBUTTONUP: return "right-up";
    default: return "other";
    }
}

ATOM registerClassOnce(const wchar_t* name, WNDPROC proc, HBRUSH background)
{
    WNDCLASSEXW wc{sizeof wc};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return RegisterClassExW(&wc);
}

// Runs the calling thread's message loop until WM_QUIT.
void pumpUntilQuit()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// A thread that owns windows or hooks must have a queue before anyone posts to it.
void makeMessageQueue()
{
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
}

// Under Wine the first window of a session starts the desktop process, which takes seconds and
// then takes the foreground and drops input for a while. One hidden window made and destroyed
// before anything else waits that out.
void ensureDesktop()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                         GetModuleHandleW(nullptr), nullptr))
            DestroyWindow(probe);
    });
}

template <typename Owner>
Owner* ownerOf(HWND window, UINT message, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
        return owner;
    }
    return reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace

double nowMs()
{
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency);
}

// ---- MouseObserver ----

MouseObserver::MouseObserver()
{
    thread_ = std::thread([this] { run(); });
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return ready_; });
}

MouseObserver::~MouseObserver()
{
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
}

void MouseObserver::run()
{
    ensureDesktop();
    makeMessageQueue();
    activeObserver = this;
    // The hook runs on this thread, inside its message loop.
    HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, hookProc, GetModuleHandleW(nullptr), 0);
    {
        std::lock_guard lock(mutex_);
        hook_ = hook;
        threadId_ = GetCurrentThreadId();
        ready_ = true;
    }
    changed_.notify_all();
    pumpUntilQuit();
    if (hook)
        UnhookWindowsHookEx(hook);
    activeObserver = nullptr;
}

LRESULT CALLBACK MouseObserver::hookProc(int code, WPARAM wParam, LPARAM lParam)
{
    // Only a copy under the lock: the system waits for this procedure before it delivers the event.
    MouseObserver* self = activeObserver.load();
    if (code == HC_ACTION && self && isButtonMessage(wParam)) {
        const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        ButtonEvent event{static_cast<UINT>(wParam), info->pt, info->flags, info->time, nowMs(), info->dwExtraInfo};
        {
            std::lock_guard lock(self->mutex_);
            self->events_.push_back(event);
        }
        self->changed_.notify_all();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<ButtonEvent> MouseObserver::snapshot() const
{
    std::lock_guard lock(mutex_);
    return events_;
}

void MouseObserver::clear()
{
    std::lock_guard lock(mutex_);
    events_.clear();
}

bool MouseObserver::waitForCount(std::size_t count, DWORD timeoutMs,
                                 const std::function<bool(const ButtonEvent&)>& filter) const
{
    auto enough = [&] {
        std::size_t n = 0;
        for (const ButtonEvent& e : events_)
            n += !filter || filter(e);
        return n >= count;
    };
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), enough);
}

std::vector<ButtonEvent> eventsAt(const std::vector<ButtonEvent>& events, POINT pt)
{
    std::vector<ButtonEvent> out;
    for (const ButtonEvent& e : events)
        if (e.pt.x == pt.x && e.pt.y == pt.y)
            out.push_back(e);
    return out;
}

std::vector<ButtonEvent> eventsNotAt(const std::vector<ButtonEvent>& events, POINT pt)
{
    std::vector<ButtonEvent> out;
    for (const ButtonEvent& e : events)
        if (e.pt.x != pt.x || e.pt.y != pt.y)
            out.push_back(e);
    return out;
}

std::vector<ButtonEvent> eventsBetween(const std::vector<ButtonEvent>& events, double fromMs, double toMs)
{
    std::vector<ButtonEvent> out;
    for (const ButtonEvent& e : events)
        if (e.atMs >= fromMs && e.atMs < toMs)
            out.push_back(e);
    return out;
}

std::string describe(const std::vector<ButtonEvent>& events, double originMs, std::size_t limit)
{
    std::string text;
    for (std::size_t i = 0; i < events.size() && i < limit; ++i) {
        const ButtonEvent& e = events[i];
        char line[160];
        std::snprintf(line, sizeof line, "\n  %+9.1f ms  %-10s at %s%s%s", e.atMs - originMs, messageName(e.message),
                      toString(e.pt).c_str(), e.injected() ? " injected" : "",
                      e.extraInfo == kTestClickMark ? " by the test" : "");
        text += line;
    }
    if (events.size() > limit)
        text += "\n  ... " + std::to_string(events.size() - limit) + " more";
    return text;
}

double ClickTicks::meanIntervalMs() const
{
    if (atMs.size() < 2)
        return 0;
    return (atMs.back() - atMs.front()) / static_cast<double>(atMs.size() - 1);
}

ClickTicks doubleClickTicks(const std::vector<ButtonEvent>& events, POINT pt)
{
    static constexpr UINT kTick[] = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP};
    ClickTicks ticks;
    const std::vector<ButtonEvent> here = eventsAt(events, pt);
    for (std::size_t i = 0; i < here.size(); ++i) {
        const ButtonEvent& e = here[i];
        if (e.message != kTick[i % 4]) {
            ticks.fault = "event " + std::to_string(i) + " at the click point is " + messageName(e.message) +
                          ", expected " + messageName(kTick[i % 4]);
            return ticks;
        }
        if (!e.injected()) {
            ticks.fault = "event " + std::to_string(i) + " at the click point is not injected";
            return ticks;
        }
        if (i % 4 == 0)
            ticks.atMs.push_back(e.atMs);
    }
    if (here.size() % 4 != 0)
        ticks.fault = std::to_string(here.size()) + " events at the click point: the last tick is incomplete";
    return ticks;
}

POINT clickPointOf(HWND mainWindow)
{
    RECT outer{};
    GetWindowRect(mainWindow, &outer);
    return {outer.left + 310, outer.top + 600};
}

POINT centreOf(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool samePoint(POINT a, POINT b)
{
    return a.x == b.x && a.y == b.y;
}

std::string toString(POINT pt)
{
    std::string text = "(";
    text += std::to_string(pt.x);
    text += ", ";
    text += std::to_string(pt.y);
    text += ")";
    return text;
}

double clickFirmly(const MouseObserver& observer, POINT at)
{
    // Absolute units span 0..65535 over the primary screen; rounded up so that the system's
    // conversion back lands on the very pixel.
    const auto absolute = [](LONG pixel, int size) {
        return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + size - 1) / size);
    };
    INPUT inputs[2]{};
    for (INPUT& in : inputs) {
        in.type = INPUT_MOUSE;
        in.mi.dwExtraInfo = kTestClickMark;
        in.mi.dx = absolute(at.x, GetSystemMetrics(SM_CXSCREEN));
        in.mi.dy = absolute(at.y, GetSystemMetrics(SM_CYSCREEN));
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTUP;
    const double sent = nowMs();
    if (SendInput(2, inputs, sizeof(INPUT)) != 2)
        return -1;
    const auto ourRelease = [&](const ButtonEvent& e) {
        return e.message == WM_LBUTTONUP && samePoint(e.pt, at) && e.atMs >= sent;
    };
    if (!observer.waitForCount(1, 5000, ourRelease))
        return -1;
    for (const ButtonEvent& e : observer.snapshot())
        if (ourRelease(e))
            return e.atMs;
    return -1;
}

void sleepUntil(double ms)
{
    const double left = ms - nowMs();
    if (left > 0)
        Sleep(static_cast<DWORD>(left));
}

::testing::AssertionResult noEventsAt(const std::vector<ButtonEvent>& events, POINT point, double fromMs, double toMs)
{
    const std::vector<ButtonEvent> there = eventsAt(eventsBetween(events, fromMs, toMs), point);
    if (there.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << there.size() << " button events at " << toString(point) << ", the first "
                                         << there.front().atMs - fromMs << " ms after the watch began"
                                         << describe(there, fromMs, 8);
}

std::size_t ticksBetween(const std::vector<ButtonEvent>& events, POINT point, double fromMs, double toMs)
{
    std::size_t n = 0;
    for (double at : doubleClickTicks(events, point).atMs)
        n += at >= fromMs && at < toMs;
    return n;
}

void sendKey(WORD vk, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

double waitForTick(const MouseObserver& observer, POINT point, double afterMs, DWORD timeoutMs)
{
    // The four events of a tick come within a millisecond or so, ticks at least 10 ms apart: a
    // left-down that follows the previous event there closely belongs to a tick underway.
    constexpr double kWithinTick = 5;
    const auto there = [&](const ButtonEvent& e) { return samePoint(e.pt, point); };
    const double deadline = nowMs() + timeoutMs;
    for (;;) {
        const std::vector<ButtonEvent> events = eventsAt(observer.snapshot(), point);
        for (std::size_t i = 0; i + 3 < events.size(); ++i) {
            const bool begins = events[i].message == WM_LBUTTONDOWN &&
                                (i == 0 || events[i].atMs - events[i - 1].atMs > kWithinTick);
            if (begins && events[i].atMs >= afterMs)
                return events[i].atMs;
        }
        const double left = deadline - nowMs();
        if (left <= 0 || !observer.waitForCount(events.size() + 1, static_cast<DWORD>(left), there))
            return -1;
    }
}

// ---- HotkeyHolder ----

HotkeyHolder::HotkeyHolder(UINT modifiers, UINT virtualKey, int id)
{
    thread_ = std::thread([=, this] { run(modifiers, virtualKey, id); });
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return ready_; });
}

HotkeyHolder::~HotkeyHolder()
{
    // The window goes on its own thread, which ends the hotkey with it and then the loop.
    if (window_)
        PostMessageW(window_, WM_CLOSE, 0, 0);
    thread_.join();
}

void HotkeyHolder::run(UINT modifiers, UINT virtualKey, int id)
{
    static const ATOM atom = registerClassOnce(L"TavriloTestHotkeyHolder", windowProc, nullptr);
    HWND window = atom ? CreateWindowExW(0, L"TavriloTestHotkeyHolder", L"hotkey holder", WS_POPUP, 0, 0, 1, 1,
                                         nullptr, nullptr, GetModuleHandleW(nullptr), this)
                       : nullptr;
    const bool registered = window && RegisterHotKey(window, id, modifiers, virtualKey);
    {
        std::lock_guard lock(mutex_);
        window_ = window;
        registered_ = registered;
        ready_ = true;
    }
    changed_.notify_all();
    if (window)
        pumpUntilQuit();
}

LRESULT CALLBACK HotkeyHolder::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = ownerOf<HotkeyHolder>(window, message, lParam);
    switch (message) {
    case WM_HOTKEY:
        if (self) {
            {
                std::lock_guard lock(self->mutex_);
                ++self->presses_;
            }
            self->changed_.notify_all();
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int HotkeyHolder::presses() const
{
    std::lock_guard lock(mutex_);
    return presses_;
}

bool HotkeyHolder::waitForPresses(int count, DWORD timeoutMs) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return presses_ >= count; });
}

// ---- FocusWindow ----

FocusWindow::FocusWindow()
{
    thread_ = std::thread([this] { run(); });
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return ready_; });
}

FocusWindow::~FocusWindow()
{
    if (window_)
        PostMessageW(window_, WM_CLOSE, 0, 0);
    thread_.join();
}

void FocusWindow::run()
{
    static const ATOM atom =
        registerClassOnce(L"TavriloTestFocusWindow", windowProc, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    // Top-left of the screen, clear of Tavrilo's centred window and its click point.
    HWND window = atom ? CreateWindowExW(0, L"TavriloTestFocusWindow", L"another program", WS_POPUP | WS_VISIBLE,
                                         20, 20, 300, 120, nullptr, nullptr, GetModuleHandleW(nullptr), this)
                       : nullptr;
    {
        std::lock_guard lock(mutex_);
        window_ = window;
        ready_ = true;
    }
    changed_.notify_all();
    if (window)
        pumpUntilQuit();
}

LRESULT CALLBACK FocusWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = ownerOf<FocusWindow>(window, message, lParam);
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (self) {
            {
                std::lock_guard lock(self->mutex_);
                self->keys_.push_back({message, static_cast<UINT>(wParam)});
            }
            self->changed_.notify_all();
        }
        return 0;  // F10 and Alt must not open a window menu that would swallow later keys
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool FocusWindow::bringToFront() const
{
    for (int attempt = 0; attempt < 40; ++attempt) {
        if (GetForegroundWindow() != window_)
            SetForegroundWindow(window_);
        GUITHREADINFO info{sizeof info};
        if (GetForegroundWindow() == window_ &&
            GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info) && info.hwndFocus == window_)
            return true;
        Sleep(50);
    }
    return false;
}

std::vector<KeyMessage> FocusWindow::keys() const
{
    std::lock_guard lock(mutex_);
    return keys_;
}

void FocusWindow::clear()
{
    std::lock_guard lock(mutex_);
    keys_.clear();
}

bool FocusWindow::waitForKey(UINT key, DWORD timeoutMs) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        for (const KeyMessage& k : keys_)
            if (k.key == key)
                return true;
        return false;
    });
}

}  // namespace e2e
