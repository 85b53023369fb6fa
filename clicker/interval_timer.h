// The timer control: a hidden child window that owns one Windows timer and raises its
// period-elapsed event on every tick.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>

class IntervalTimer {
public:
    static constexpr UINT_PTR TIMER_ID = 1000;

    // Creates the control's hidden window; nullptr when that fails.
    static HWND create(HWND parent, int childId, const RECT& rect, std::int32_t period,
                       std::function<void()> onPeriodElapsed);
    // The control that owns a window made by create(), or nullptr.
    static IntervalTimer* from(HWND window);

    // Negative is 0; the same period leaves a running countdown alone; a new positive period
    // restarts it; 0 stops it.
    void setPeriod(std::int32_t value);
    std::int32_t period() const { return period_; }
    bool timerActive() const { return timerActive_; }

private:
    IntervalTimer(HWND window, std::int32_t period, std::function<void()> onPeriodElapsed);
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void startWindowsTimer();

    HWND window_;
    std::int32_t period_;
    bool timerActive_ = false;
    std::function<void()> onPeriodElapsed_;
};
