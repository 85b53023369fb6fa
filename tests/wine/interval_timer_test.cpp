// The timer control's period and its Windows timer: what each period change does to the
// countdown, which timer it sets or removes, and what creation and destruction do.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <climits>
#include <cstring>
#include <vector>

#include "clicker/interval_timer.h"
#include "support.h"

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::milliseconds;

// Replaces one imported function in this executable's import table, where the statically linked
// product code calls it too, and puts it back on scope exit.
class ImportPatch {
public:
    ImportPatch(const char* dll, const char* function, void* replacement)
    {
        auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
        auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
        auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
            if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0 || !d->OriginalFirstThunk)
                continue;
            auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
            for (; names->u1.AddressOfData; ++names, ++slots) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                    continue;
                auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
                    slot_ = reinterpret_cast<void**>(&slots->u1.Function);
                    original_ = *slot_;
                    write(replacement);
                    return;
                }
            }
        }
    }
    ~ImportPatch()
    {
        if (slot_)
            write(original_);
    }
    bool patched() const { return slot_ != nullptr; }
    void* original() const { return original_; }

private:
    void write(void* value)
    {
        DWORD old = 0;
        VirtualProtect(slot_, sizeof(void*), PAGE_READWRITE, &old);
        *slot_ = value;
        VirtualProtect(slot_, sizeof(void*), old, &old);
    }
    void** slot_ = nullptr;
    void* original_ = nullptr;
};

// Every SetTimer and KillTimer call of this process, passed on to Windows.
struct TimerCall {
    char kind;  // 'S' or 'K'
    HWND window;
    UINT_PTR id;
    UINT elapse;
    bool withProc;
    bool operator==(const TimerCall&) const = default;
};

std::vector<TimerCall> timerCalls;
decltype(&SetTimer) realSetTimer = nullptr;
decltype(&KillTimer) realKillTimer = nullptr;

UINT_PTR WINAPI spySetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc)
{
    timerCalls.push_back({'S', window, id, elapse, proc != nullptr});
    return realSetTimer(window, id, elapse, proc);
}

BOOL WINAPI spyKillTimer(HWND window, UINT_PTR id)
{
    timerCalls.push_back({'K', window, id, 0, false});
    return realKillTimer(window, id);
}

TimerCall setCall(HWND w, UINT elapse)
{
    return {'S', w, IntervalTimer::TIMER_ID, elapse, false};
}
TimerCall killCall(HWND w)
{
    return {'K', w, IntervalTimer::TIMER_ID, 0, false};
}

class IntervalTimerTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(setSpy_.patched() && killSpy_.patched()) << "SetTimer/KillTimer not found among the imports";
        realSetTimer = reinterpret_cast<decltype(&SetTimer)>(setSpy_.original());
        realKillTimer = reinterpret_cast<decltype(&KillTimer)>(killSpy_.original());
        parent_ = createPlainWindow(WS_OVERLAPPEDWINDOW, 0, {0, 0, 200, 200});
        ASSERT_TRUE(parent_);
        timerCalls.clear();
    }
    void TearDown() override
    {
        if (parent_)
            DestroyWindow(parent_);
        pumpWaitingMessages();
    }

    HWND create(std::int32_t period)
    {
        const RECT rect{648, 0, 680, 32};
        return IntervalTimer::create(parent_, 1010, rect, period, [this] { ticks_.push_back(Clock::now()); });
    }
    // Milliseconds from `from` to the first tick after it, or -1 when none came in `timeoutMs`.
    long long firstTickAfter(Clock::time_point from, DWORD timeoutMs)
    {
        const auto seen = [&] {
            for (auto t : ticks_)
                if (t >= from)
                    return true;
            return false;
        };
        if (!pumpUntil(seen, timeoutMs))
            return -1;
        for (auto t : ticks_)
            if (t >= from)
                return std::chrono::duration_cast<Ms>(t - from).count();
        return -1;
    }

    ImportPatch setSpy_{"user32.dll", "SetTimer", reinterpret_cast<void*>(spySetTimer)};
    ImportPatch killSpy_{"user32.dll", "KillTimer", reinterpret_cast<void*>(spyKillTimer)};
    HWND parent_ = nullptr;
    std::vector<Clock::time_point> ticks_;
};

TEST_F(IntervalTimerTest, FromFindsTheControlOfATimerWindowOnly)
{
    HWND w = create(0);
    ASSERT_TRUE(w);
    EXPECT_NE(IntervalTimer::from(w), nullptr);
    EXPECT_EQ(IntervalTimer::from(parent_), nullptr);
    EXPECT_EQ(IntervalTimer::from(nullptr), nullptr);
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_EQ(GetParent(w), parent_);
}

TEST_F(IntervalTimerTest, CreationSetsTheWindowsTimerOnlyForAPositivePeriod)
{
    struct Case {
        std::int32_t period;
        std::int32_t stored;
        bool active;
    };
    for (const Case c : {Case{0, 0, false}, Case{-1, 0, false}, Case{INT_MIN, 0, false}, Case{40, 40, true}}) {
        SCOPED_TRACE(testing::Message() << "created with period " << c.period);
        timerCalls.clear();
        ticks_.clear();
        HWND w = create(c.period);
        ASSERT_TRUE(w);
        IntervalTimer* timer = IntervalTimer::from(w);
        ASSERT_TRUE(timer);
        EXPECT_EQ(timer->period(), c.stored);
        EXPECT_EQ(timer->timerActive(), c.active);
        if (c.active) {
            EXPECT_EQ(timerCalls, std::vector<TimerCall>{setCall(w, 40)});
            EXPECT_TRUE(pumpUntil([&] { return ticks_.size() >= 2; }, 3000))
                << "no ticks from the timer set at creation";
        } else {
            EXPECT_TRUE(timerCalls.empty());
            pumpFor(150);
            EXPECT_TRUE(ticks_.empty());
        }
        DestroyWindow(w);
    }
}

TEST_F(IntervalTimerTest, NegativePeriodIsZeroAndStopsTheTimer)
{
    HWND w = create(0);
    IntervalTimer* timer = IntervalTimer::from(w);
    ASSERT_TRUE(timer);
    for (std::int32_t negative : {-1, -50, INT_MIN}) {
        SCOPED_TRACE(testing::Message() << "period " << negative);
        timer->setPeriod(100);
        ASSERT_TRUE(timer->timerActive());
        timerCalls.clear();
        ticks_.clear();
        timer->setPeriod(negative);
        EXPECT_EQ(timer->period(), 0);
        EXPECT_FALSE(timer->timerActive());
        EXPECT_EQ(timerCalls, std::vector<TimerCall>{killCall(w)});
        pumpFor(250);
        EXPECT_TRUE(ticks_.empty());
        // Negative again, on a stopped timer: the same period 0, nothing to do.
        timer->setPeriod(negative);
        EXPECT_EQ(timerCalls.size(), 1u);
    }
}

TEST_F(IntervalTimerTest, SamePeriodLeavesTheCountdownRunning)
{
    HWND w = create(0);
    IntervalTimer* timer = IntervalTimer::from(w);
    ASSERT_TRUE(timer);
    const auto t0 = Clock::now();
    timer->setPeriod(600);
    pumpFor(300);
    ASSERT_TRUE(ticks_.empty());
    const auto t1 = Clock::now();
    timerCalls.clear();
    timer->setPeriod(600);
    EXPECT_TRUE(timerCalls.empty()) << "the same period must neither kill nor set the timer";
    EXPECT_EQ(timer->period(), 600);
    EXPECT_TRUE(timer->timerActive());

    const long long tick = firstTickAfter(t0, 3000);
    ASSERT_GE(tick, 0) << "no tick";
    const long long resetAt = std::chrono::duration_cast<Ms>(t1 - t0).count();
    EXPECT_GE(tick, 580) << "ticked before its period";
    // The running countdown ticks at 600 ms, a restarted one would at resetAt + 600: the tick
    // must come before the middle of the two.
    EXPECT_LT(tick, 600 + resetAt / 2) << "the countdown was restarted (second set at " << resetAt << " ms)";
}

TEST_F(IntervalTimerTest, NewPeriodRestartsTheCountdown)
{
    HWND w = create(0);
    IntervalTimer* timer = IntervalTimer::from(w);
    ASSERT_TRUE(timer);
    timer->setPeriod(400);
    pumpFor(150);
    ASSERT_TRUE(ticks_.empty());
    timerCalls.clear();
    const auto t1 = Clock::now();
    timer->setPeriod(300);
    EXPECT_EQ(timerCalls, (std::vector<TimerCall>{killCall(w), setCall(w, 300)}));
    EXPECT_EQ(timer->period(), 300);

    // The old countdown (due 250 ms after t1) is gone; the new one is due 300 ms after t1.
    const long long tick = firstTickAfter(t1, 3000);
    ASSERT_GE(tick, 0) << "no tick";
    EXPECT_GE(tick, 285);
}

TEST_F(IntervalTimerTest, ZeroStopsAndRemovesATickAlreadyWaiting)
{
    HWND w = create(0);
    IntervalTimer* timer = IntervalTimer::from(w);
    ASSERT_TRUE(timer);
    timer->setPeriod(20);
    Sleep(150);  // without dispatching: a tick falls due and waits in the queue
    MSG waiting{};
    ASSERT_TRUE(PeekMessageW(&waiting, w, WM_TIMER, WM_TIMER, PM_NOREMOVE));
    EXPECT_EQ(waiting.wParam, IntervalTimer::TIMER_ID);

    timerCalls.clear();
    timer->setPeriod(0);
    EXPECT_EQ(timerCalls, std::vector<TimerCall>{killCall(w)});
    EXPECT_EQ(timer->period(), 0);
    EXPECT_FALSE(timer->timerActive());
    EXPECT_FALSE(PeekMessageW(&waiting, w, WM_TIMER, WM_TIMER, PM_NOREMOVE));
    pumpFor(200);
    EXPECT_TRUE(ticks_.empty());

    // Stopping a stopped timer changes nothing.
    timer->setPeriod(0);
    EXPECT_EQ(timerCalls.size(), 1u);
}

TEST_F(IntervalTimerTest, TheWindowsTimerIsId1000OnTheTimersOwnWindow)
{
    HWND w = create(0);
    IntervalTimer* timer = IntervalTimer::from(w);
    ASSERT_TRUE(timer);
    timer->setPeriod(50);
    EXPECT_EQ(timerCalls, std::vector<TimerCall>{setCall(w, 50)});
    EXPECT_FALSE(KillTimer(parent_, 1000));
    EXPECT_FALSE(KillTimer(w, 999));
    EXPECT_TRUE(KillTimer(w, 1000));
    ticks_.clear();
    pumpFor(200);
    EXPECT_TRUE(ticks_.empty());
}

TEST_F(IntervalTimerTest, DestroyingTheWindowRemovesAnActiveTimerOnly)
{
    struct Case {
        std::int32_t period;
        bool destroyParent;
        std::size_t kills;
    };
    for (const Case c : {Case{50, false, 1}, Case{50, true, 1}, Case{0, false, 0}, Case{0, true, 0}}) {
        SCOPED_TRACE(testing::Message() << "period " << c.period << (c.destroyParent ? ", parent destroyed" : ""));
        HWND w = create(c.period);
        ASSERT_TRUE(w);
        timerCalls.clear();
        DestroyWindow(c.destroyParent ? parent_ : w);
        EXPECT_EQ(timerCalls.size(), c.kills);
        if (c.kills) {
            EXPECT_EQ(timerCalls[0], killCall(w));
        }
        if (c.destroyParent) {
            parent_ = createPlainWindow(WS_OVERLAPPEDWINDOW, 0, {0, 0, 200, 200});
            ASSERT_TRUE(parent_);
        }
    }
    // A timer stopped before its window goes has nothing left to remove.
    HWND w = create(50);
    IntervalTimer::from(w)->setPeriod(0);
    timerCalls.clear();
    DestroyWindow(w);
    EXPECT_TRUE(timerCalls.empty());
}

}  // namespace
