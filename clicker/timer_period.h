// What writing the timer's period does to its Windows timer.
#pragma once
#include <cstdint>

struct PeriodChange {
    bool changed = false;     // false: the same period, a running countdown is left alone
    std::int32_t period = 0;  // the period to store
    bool killTimer = false;   // remove the Windows timer that is set
    bool setTimer = false;    // set a Windows timer with the new period
    bool operator==(const PeriodChange&) const = default;
};

constexpr PeriodChange planPeriodChange(std::int32_t storedPeriod, bool timerActive, std::int32_t requested)
{
    const std::int32_t period = requested < 0 ? 0 : requested;
    if (period == storedPeriod)
        return {false, storedPeriod, false, false};
    return {true, period, timerActive, period > 0};
}
