#include "support.h"

#include <algorithm>
#include <sstream>
#include <utility>

#include "app/form_access.h"
#include "app/shell.h"

void pumpWaitingMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        pumpWaitingMessages();
        if (done())
            return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= end)
            return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(end - now, 10)),
                                  QS_ALLINPUT);
    }
}

void pumpFor(DWORD ms)
{
    pumpUntil([] { return false; }, ms);
}

int HandlerLog::count(const std::string& what) const
{
    return static_cast<int>(std::count(order.begin(), order.end(), what));
}

HandlerLog& handlerLog()
{
    static HandlerLog log;
    return log;
}

void recordCreated()
{
    CreatedSnapshot s;
    s.main = mainWindowHandle();
    s.mainVisible = IsWindowVisible(s.main) != FALSE;
    s.mainStyle = static_cast<DWORD>(GetWindowLongPtrW(s.main, GWL_STYLE));
    for (std::size_t i = 1; i < s.controls.size(); ++i)
        s.controls[i] = controlWindow(static_cast<EventSource>(i));
    handlerLog().created.push_back(s);
    handlerLog().order.push_back("created");
}

void recordStart()
{
    handlerLog().order.push_back("start");
}
void recordStop()
{
    handlerLog().order.push_back("stop");
}
void recordTick()
{
    handlerLog().order.push_back("tick");
}

void recordFeedback(std::int32_t wParam, std::int32_t lParam)
{
    handlerLog().feedback.emplace_back(wParam, lParam);
    handlerLog().order.push_back("feedback");
}

FormHandlers recordingHandlers()
{
    return {recordCreated, recordStart, recordStop, recordTick, recordFeedback};
}

LoadedMainWindow::LoadedMainWindow(const FormHandlers& handlers) : form_(describeMainWindow(handlers))
{
    handlerLog() = {};
    useForm(form_);
    loaded_ = loadMainWindow();
}

LoadedMainWindow::~LoadedMainWindow()
{
    if (HWND w = mainWindowHandle())
        DestroyWindow(w);
    pumpWaitingMessages();
}

HWND LoadedMainWindow::window() const
{
    return mainWindowHandle();
}

HWND LoadedMainWindow::control(EventSource name) const
{
    return controlWindow(name);
}

std::vector<EventSource> recordOrder(const FormDescription& form)
{
    std::vector<EventSource> out;
    for (const ControlDescription& d : form.controls)
        out.push_back(d.name);
    return out;
}

HWND createPlainWindow(DWORD style, DWORD exStyle, const RECT& rect, HWND parent)
{
    static const ATOM atom = [] {
        WNDCLASSEXW wc{sizeof wc};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = L"TavriloTestPlain";
        return RegisterClassExW(&wc);
    }();
    if (!atom)
        return nullptr;
    HWND w = CreateWindowExW(exStyle, L"TavriloTestPlain", L"", style & ~WS_VISIBLE, rect.left, rect.top,
                             rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, GetModuleHandleW(nullptr),
                             nullptr);
    if (w && (style & WS_VISIBLE)) {
        ShowWindow(w, SW_SHOWNA);
        UpdateWindow(w);
    }
    return w;
}

std::string describe(const std::vector<SeenButton>& events)
{
    std::ostringstream out;
    for (const SeenButton& e : events) {
        const char* name = e.message == WM_LBUTTONDOWN   ? "Ldown"
                           : e.message == WM_LBUTTONUP   ? "Lup"
                           : e.message == WM_RBUTTONDOWN ? "Rdown"
                           : e.message == WM_RBUTTONUP   ? "Rup"
                                                         : "other";
        out << name << "(" << e.at.x << "," << e.at.y << (e.flags & LLMHF_INJECTED ? ",injected" : "") << ") ";
    }
    return out.str();
}

MouseButtonWatcher::MouseButtonWatcher()
{
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    active_ = this;
    thread_ = std::thread([this] { run(); });
    WaitForSingleObject(ready_, 10000);
}

MouseButtonWatcher::~MouseButtonWatcher()
{
    if (threadId_)
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    if (thread_.joinable())
        thread_.join();
    active_ = nullptr;
    CloseHandle(ready_);
}

void MouseButtonWatcher::run()
{
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, for PostThreadMessage
    threadId_ = GetCurrentThreadId();
    HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, hookProc, GetModuleHandleW(nullptr), 0);
    installed_ = hook != nullptr;
    SetEvent(ready_);
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (hook)
        UnhookWindowsHookEx(hook);
}

LRESULT CALLBACK MouseButtonWatcher::hookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && active_ &&
        (wParam == WM_LBUTTONDOWN || wParam == WM_LBUTTONUP || wParam == WM_RBUTTONDOWN || wParam == WM_RBUTTONUP)) {
        const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        std::lock_guard lock(active_->mutex_);
        active_->seen_.push_back({wParam, info->pt, info->flags});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<SeenButton> MouseButtonWatcher::seen() const
{
    std::lock_guard lock(mutex_);
    return seen_;
}

void MouseButtonWatcher::clear()
{
    std::lock_guard lock(mutex_);
    seen_.clear();
}

std::vector<SeenButton> MouseButtonWatcher::waitFor(std::size_t count, DWORD timeoutMs, DWORD quietMs)
{
    pumpUntil([&] { return seen().size() >= count; }, timeoutMs);
    // Then make sure nothing more follows.
    std::size_t before = seen().size();
    for (;;) {
        pumpFor(quietMs);
        const std::size_t now = seen().size();
        if (now == before)
            break;
        before = now;
    }
    return seen();
}
