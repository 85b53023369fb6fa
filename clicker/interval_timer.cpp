#include "clicker/interval_timer.h"

#include "app/window_class.h"
#include "clicker/timer_period.h"

namespace {
constexpr wchar_t kClassName[] = L"TavriloTimer";

struct CreateArgs {
    std::int32_t period;
    std::function<void()> onPeriodElapsed;
};

}  // namespace

IntervalTimer::IntervalTimer(HWND window, std::int32_t period, std::function<void()> onPeriodElapsed)
    : window_(window), period_(period < 0 ? 0 : period), onPeriodElapsed_(std::move(onPeriodElapsed))
{
}

HWND IntervalTimer::create(HWND parent, int childId, const RECT& rect, std::int32_t period,
                           std::function<void()> onPeriodElapsed)
{
    static const ATOM atom = registerWindowClass(kClassName, windowProc, CS_DBLCLKS, NULL_BRUSH);
    if (!atom)
        return nullptr;
    CreateArgs args{period, std::move(onPeriodElapsed)};
    return CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_CLIPSIBLINGS, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)),
                           GetModuleHandleW(nullptr), &args);
}

IntervalTimer* IntervalTimer::from(HWND window)
{
    wchar_t name[32];
    if (!window || !GetClassNameW(window, name, 32) || lstrcmpW(name, kClassName) != 0)
        return nullptr;
    return reinterpret_cast<IntervalTimer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void IntervalTimer::setPeriod(std::int32_t value)
{
    const PeriodChange change = planPeriodChange(period_, timerActive_, value);
    if (!change.changed)
        return;
    period_ = change.period;
    if (change.killTimer)
        KillTimer(window_, TIMER_ID);
    timerActive_ = false;
    if (change.setTimer)
        startWindowsTimer();
}

void IntervalTimer::startWindowsTimer()
{
    // A refused timer is not detected: no tick comes, and the next change removes nothing harmfully.
    SetTimer(window_, TIMER_ID, static_cast<UINT>(period_), nullptr);
    timerActive_ = true;
}

LRESULT CALLBACK IntervalTimer::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* args = static_cast<CreateArgs*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        auto* self = new IntervalTimer(window, args->period, std::move(args->onPeriodElapsed));
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        return DefWindowProcW(window, message, wParam, lParam);
    }
    auto* self = reinterpret_cast<IntervalTimer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        case WM_CREATE:
            if (self->period_ > 0)
                self->startWindowsTimer();
            break;
        case WM_TIMER: {
            // Whatever the identifier: the control owns only one timer.
            LRESULT result = DefWindowProcW(window, message, wParam, lParam);
            if (self->onPeriodElapsed_)
                self->onPeriodElapsed_();
            return result;
        }
        case WM_DESTROY:
            if (self->timerActive_) {
                KillTimer(window, TIMER_ID);
                self->timerActive_ = false;
            }
            break;
        case WM_NCDESTROY:
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            delete self;
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
