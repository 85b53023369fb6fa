// Tavrilo's clicking seen from outside: a low-level mouse hook in this process records every
// button event of the desktop while the real program is started and stopped with its buttons.
// The program's clicks are told from the test's own button presses by their point.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "harness.h"
#include "observer.h"

using namespace e2e;

namespace {

// Timing under Wine on a loaded two-core machine: means within 40 %, first ticks generously.
constexpr double kTolerance = 0.4;

double expectedTickMs(int period)
{
    return period < 10 ? 10 : period;  // Windows raises shorter timer periods to 10 ms
}

// The double clicks at `point` that began between `fromMs` and `toMs`, at about `period` apart.
// Called once clicking has stopped, so that every tick is whole.
::testing::AssertionResult clicksEvery(const std::vector<ButtonEvent>& events, POINT point, double fromMs,
                                       double toMs, int period)
{
    const ClickTicks all = doubleClickTicks(events, point);
    if (!all.ok())
        return ::testing::AssertionFailure() << all.fault;
    ClickTicks ticks;
    for (double at : all.atMs)
        if (at >= fromMs && at < toMs)
            ticks.atMs.push_back(at);
    const double tick = expectedTickMs(period);
    const auto least = static_cast<std::size_t>((toMs - fromMs) / tick * 0.5);
    if (ticks.count() < least || ticks.count() < 2)
        return ::testing::AssertionFailure() << ticks.count() << " ticks in " << toMs - fromMs << " ms at "
                                             << toString(point) << ", expected at least " << least;
    const double mean = ticks.meanIntervalMs();
    if (mean < tick * (1 - kTolerance) || mean > tick * (1 + kTolerance))
        return ::testing::AssertionFailure() << "mean interval " << mean << " ms, expected " << tick << " ms";
    return ::testing::AssertionSuccess() << ticks.count() << " ticks, mean interval " << mean << " ms";
}

// One program and one observer for a whole table of cases: a Wine start is slow.
template <class Case>
class SharedProgramTest : public ::testing::TestWithParam<Case> {
protected:
    static void SetUpTestSuite()
    {
        observer_ = std::make_unique<MouseObserver>();
        try {
            program_.emplace(Tavrilo::start());
        } catch (const std::exception& e) {
            startFailure_ = e.what();
        }
    }
    static void TearDownTestSuite()
    {
        program_.reset();
        observer_.reset();
    }
    void SetUp() override
    {
        ASSERT_TRUE(observer_->installed());
        ASSERT_TRUE(program_) << startFailure_;
        ASSERT_TRUE(program_->running()) << "the program ended during an earlier case";
        ASSERT_TRUE(program_->bringToFront());
        // Whatever an earlier case that failed halfway left running stops, and is forgotten.
        sleepUntil(stopWithF11() + 100);
        observer_->clear();
    }

    // Fast clicks leave a click on "停止" no room: a tick between its press and its release
    // takes the pointer away. The program's own advice, F11, moves no pointer.
    static double stopWithF11()
    {
        const double at = nowMs();
        pressKey(VK_F11);
        return at;
    }

    static Tavrilo& program() { return *program_; }
    static MouseObserver& observer() { return *observer_; }
    static HWND box() { return program_->control(计时编辑框); }

private:
    static inline std::optional<Tavrilo> program_;
    static inline std::unique_ptr<MouseObserver> observer_;
    static inline std::string startFailure_;
};

class ClickingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(observer.installed());
        program.emplace(Tavrilo::start());
    }
    double pressStart() { return pressButton(observer, program->control(点击)); }
    // While the program clicks, the test's own click could lose the pointer to a tick between
    // its press and its release; just after a tick there is a whole period of room.
    double pressRightAfterTick(int button, POINT point)
    {
        if (waitForTick(observer, point, nowMs(), 5000) < 0)
            return -1;
        return pressButton(observer, program->control(button));
    }
    double pressStop() { return pressButton(observer, program->control(停止按钮)); }
    HWND box() const { return program->control(计时编辑框); }

    MouseObserver observer;
    std::optional<Tavrilo> program;
};

// ---- Start and stop with the buttons ----

TEST_F(ClickingTest, StartButtonDoubleClicksAtThePointOncePerPeriodUntilStop)
{
    const POINT point = clickPointOf(program->window());
    ASSERT_EQ(textOf(box()), L"1000");

    const double started = pressStart();
    ASSERT_GT(started, 0);
    const auto atPoint = [&](const ButtonEvent& e) { return samePoint(e.pt, point); };
    ASSERT_TRUE(observer.waitForCount(12, 6000, atPoint))
        << "three ticks within six seconds at " << toString(point) << describe(observer.snapshot(), started);
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_TRUE(samePoint(cursor, point)) << "the pointer rests at " << toString(cursor);

    // Just after a tick, so the next one is far off and the stop cannot race it.
    Sleep(50);
    const double stopped = pressStop();
    ASSERT_GT(stopped, 0);
    sleepUntil(stopped + 1600);
    const std::vector<ButtonEvent> events = observer.snapshot();

    const ClickTicks ticks = doubleClickTicks(events, point);
    ASSERT_TRUE(ticks.ok()) << ticks.fault;
    EXPECT_EQ(ticks.count(), 3u) << "no tick after 停止";
    EXPECT_TRUE(noEventsAt(events, point, stopped));
    const double first = ticks.atMs.front() - started;
    EXPECT_GE(first, 1000 * (1 - kTolerance)) << "the first tick comes one period after the start, not at once";
    EXPECT_LE(first, 1000 * (1 + kTolerance + 0.2));
    EXPECT_NEAR(ticks.meanIntervalMs(), 1000, 1000 * kTolerance);
    std::printf("[ measured ] interval 1000: first tick after %.1f ms, mean interval %.1f ms over %zu ticks\n", first,
                ticks.meanIntervalMs(), ticks.count());

    // Apart from the program's clicks, only the test's own: a press and a release on each button.
    const std::vector<ButtonEvent> others = eventsNotAt(events, point);
    ASSERT_EQ(others.size(), 4u);
    EXPECT_TRUE(samePoint(others[0].pt, centreOf(program->control(点击))));
    EXPECT_TRUE(samePoint(others[2].pt, centreOf(program->control(停止按钮))));
}

TEST_F(ClickingTest, StartingAgainKeepsTheCountdownUnlessTheTextChanged)
{
    const POINT point = clickPointOf(program->window());
    const double started = pressStart();
    ASSERT_GT(started, 0);
    const double tick1 = waitForTick(observer, point, started, 5000);
    ASSERT_GT(tick1, 0);

    // The same text: the timer keeps counting, so the next tick comes when it was due anyway.
    sleepUntil(tick1 + 600);
    const double sameAgain = pressStart();
    ASSERT_GT(sameAgain, 0);
    const double tick2 = waitForTick(observer, point, sameAgain, 5000);
    ASSERT_GT(tick2, 0);
    EXPECT_NEAR(tick2 - tick1, 1000, 1000 * kTolerance) << "due one period after the previous tick";
    EXPECT_LT(tick2 - sameAgain, 800) << "a fresh countdown would wait a full period after the restart";

    // A new text: the countdown starts afresh, with the new period, at the restart.
    sleepUntil(tick2 + 600);
    ASSERT_TRUE(setTextOf(box(), L"1500"));
    const double newAgain = pressStart();
    ASSERT_GT(newAgain, 0);
    const double tick3 = waitForTick(observer, point, newAgain, 5000);
    ASSERT_GT(tick3, 0);
    EXPECT_NEAR(tick3 - newAgain, 1500, 1500 * kTolerance) << "the old countdown was due about 400 ms after the restart";

    Sleep(50);
    const double stopped = pressStop();
    ASSERT_GT(stopped, 0);
    sleepUntil(stopped + 300);
    const ClickTicks ticks = doubleClickTicks(observer.snapshot(), point);
    EXPECT_TRUE(ticks.ok()) << ticks.fault;
    EXPECT_EQ(ticks.count(), 3u);
}

TEST_F(ClickingTest, MovingTheWindowLeavesThePointWhereItWasUntilTheNextStart)
{
    ASSERT_TRUE(setTextOf(box(), L"300"));
    const POINT before = clickPointOf(program->window());
    const double started = pressStart();
    ASSERT_GT(started, 0);
    ASSERT_GT(waitForTick(observer, before, started, 5000), 0);

    RECT outer{};
    GetWindowRect(program->window(), &outer);
    ASSERT_TRUE(SetWindowPos(program->window(), nullptr, outer.left + 120, outer.top - 60, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_TRUE(waitUntil([&] { return !samePoint(clickPointOf(program->window()), before); }, 5000));
    const POINT after = clickPointOf(program->window());
    ASSERT_TRUE(samePoint(after, {before.x + 120, before.y - 60})) << toString(after);
    const double moved = nowMs();
    Sleep(1000);

    // Starting again takes the point from the window as it is now.
    const double restarted = pressRightAfterTick(点击, before);
    ASSERT_GT(restarted, 0);
    ASSERT_GT(waitForTick(observer, after, restarted, 5000), 0);
    Sleep(1000);
    const double stopped = pressRightAfterTick(停止按钮, after);
    ASSERT_GT(stopped, 0);
    sleepUntil(stopped + 500);
    const std::vector<ButtonEvent> events = observer.snapshot();
    EXPECT_TRUE(clicksEvery(events, before, moved, restarted, 300)) << "after the move, the clicks stay at the old point";
    EXPECT_TRUE(noEventsAt(events, after, started, restarted));
    EXPECT_TRUE(clicksEvery(events, after, restarted, stopped, 300));
    EXPECT_TRUE(noEventsAt(events, before, restarted));
    EXPECT_TRUE(noEventsAt(events, after, stopped)) << "no tick after 停止";
}

// ---- Closing while clicking ----

enum class CloseBy { Escape, CloseMessage };

class ClosingWhileClicking : public ClickingTest, public ::testing::WithParamInterface<CloseBy> {};

TEST_P(ClosingWhileClicking, EndsTheClicksWithTheWindowAndExitsWithZero)
{
    const POINT point = clickPointOf(program->window());
    const double started = pressStart();
    ASSERT_GT(started, 0);
    const double tick = waitForTick(observer, point, started, 5000);
    ASSERT_GT(tick, 0);

    // Just after a tick: the next one would be due about 900 ms after the close.
    Sleep(100);
    const double closing = nowMs();
    if (GetParam() == CloseBy::Escape) {
        ASSERT_TRUE(program->bringToFront());
        pressKey(VK_ESCAPE);
    } else {
        ASSERT_TRUE(PostMessageW(program->window(), WM_CLOSE, 0, 0));
    }
    DWORD exitCode = 1234;
    ASSERT_TRUE(program->waitForExit(kPatience, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(IsWindow(program->window()));
    sleepUntil(closing + 1500);

    const std::vector<ButtonEvent> events = observer.snapshot();
    const ClickTicks ticks = doubleClickTicks(events, point);
    EXPECT_TRUE(ticks.ok()) << ticks.fault;
    EXPECT_EQ(ticks.count(), 1u);
    EXPECT_TRUE(noEventsAt(events, point, closing));
}

INSTANTIATE_TEST_SUITE_P(Clicking, ClosingWhileClicking, ::testing::Values(CloseBy::Escape, CloseBy::CloseMessage),
                         [](const auto& info) {
                             return std::string(info.param == CloseBy::Escape ? "Esc" : "WM_CLOSE");
                         });

// ---- What the interval box holds ----

enum class Entry { SetText, Typed, Pasted };

struct IntervalCase {
    const char* name;
    std::wstring text;
    Entry entry;
    int period;  // what the text gives; 0 or less: no click at all
};

void PrintTo(const IntervalCase& c, std::ostream* os)
{
    *os << c.name;
}

class IntervalText : public SharedProgramTest<IntervalCase> {
protected:
    void enter(const IntervalCase& c)
    {
        if (c.entry == Entry::SetText) {
            ASSERT_TRUE(setTextOf(box(), c.text));
        } else {
            // Into the box by hand: a click there, everything selected, then the keys.
            ASSERT_GT(clickFirmly(observer(), centreOf(box())), 0);
            ASSERT_TRUE(waitUntil([&] { return focusOf(program()) == box(); }));
            SendMessageW(box(), EM_SETSEL, 0, -1);
            if (c.entry == Entry::Typed)
                typeText(c.text);
            else
                ASSERT_TRUE(paste(c.text));
        }
        ASSERT_TRUE(waitUntil([&] { return textOf(box()) == c.text; })) << "the box holds the text";
    }
};

TEST_P(IntervalText, SetsThePeriodOfTheClicks)
{
    const IntervalCase& c = GetParam();
    const POINT point = clickPointOf(program().window());
    ASSERT_NO_FATAL_FAILURE(enter(c));

    const double started = pressButton(observer(), program().control(点击));
    ASSERT_GT(started, 0);
    if (c.period <= 0) {
        sleepUntil(started + 1500);
        EXPECT_TRUE(noEventsAt(observer().snapshot(), point, started)) << "no period, no click";
        // A later start with a valid interval clicks.
        ASSERT_TRUE(setTextOf(box(), L"50"));
        const double valid = pressButton(observer(), program().control(点击));
        ASSERT_GT(valid, 0);
        EXPECT_GT(waitForTick(observer(), point, valid, 3000), 0);
    } else {
        sleepUntil(started + 2500);
    }
    const double stopped = stopWithF11();
    // A tick underway when the key went down may still finish; none may begin after that.
    sleepUntil(stopped + 800);
    const std::vector<ButtonEvent> events = observer().snapshot();
    EXPECT_TRUE(noEventsAt(events, point, stopped + kStopGrace));
    if (c.period > 0) {
        const auto result = clicksEvery(events, point, started, stopped, c.period);
        EXPECT_TRUE(result);
        std::printf("[ measured ] interval text \"%s\": %s\n", c.name, result.message());
    } else {
        EXPECT_TRUE(doubleClickTicks(events, point).ok());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Clicking, IntervalText,
    ::testing::Values(IntervalCase{"empty", L"", Entry::SetText, 0}, IntervalCase{"0", L"0", Entry::Typed, 0},
                      IntervalCase{"abc", L"abc", Entry::Pasted, 0}, IntervalCase{"-50", L"-50", Entry::Typed, 0},
                      IntervalCase{"50", L"50", Entry::Typed, 50},
                      IntervalCase{"12abc", L"12abc", Entry::Pasted, 12},
                      IntervalCase{"space 50", L" 50", Entry::Pasted, 50},
                      IntervalCase{"full-width 120", L"\xFF11\xFF12\xFF10", Entry::Pasted, 120}),
    [](const auto& info) {
        std::string name;
        for (const char* p = info.param.name; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

// ---- Any text at all ----

struct HugeCase {
    const char* name;
    std::wstring text;
    int period;
};

std::wstring everyCharacter()
{
    std::wstring text;
    for (unsigned c = 1; c <= 0xFFFF; ++c)
        text += static_cast<wchar_t>(c);
    return text;
}

void PrintTo(const HugeCase& c, std::ostream* os)
{
    *os << c.name << " (" << c.text.size() << " characters)";
}

class HugeText : public SharedProgramTest<HugeCase> {};

TEST_P(HugeText, NeitherCrashesNorHangsAndGivesTheLeadingNumber)
{
    const HugeCase& c = GetParam();
    const POINT point = clickPointOf(program().window());
    ASSERT_TRUE(setTextOf(box(), c.text));
    ASSERT_EQ(textOf(box()).size(), c.text.size()) << "the box holds the whole text";

    const double started = pressButton(observer(), program().control(点击));
    ASSERT_GT(started, 0);
    sleepUntil(started + 1500);
    const double stopped = stopWithF11();
    sleepUntil(stopped + 800);
    const std::vector<ButtonEvent> events = observer().snapshot();
    if (c.period <= 0)
        EXPECT_TRUE(noEventsAt(events, point, started));
    else
        EXPECT_TRUE(clicksEvery(events, point, started, stopped, c.period));
    EXPECT_TRUE(noEventsAt(events, point, stopped + kStopGrace));
    EXPECT_TRUE(program().running());
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutW(program().window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer))
        << "the window still answers";
}

INSTANTIATE_TEST_SUITE_P(
    Clicking, HugeText,
    ::testing::Values(
        // A hundred thousand characters after the number.
        HugeCase{"FiftyThenJunk", L"50" + std::wstring(100000 - 2, L'x'), 50},
        // A thousand digits: 10^n is 0 modulo 2^32 from n = 32 on, so this wraps to 60. (Wine's
        // edit control lays out a run of digits in quadratic time: 100000 of them keep the
        // program busy for tens of seconds, which says nothing about the program itself.)
        HugeCase{"ThousandDigitsWrapping", L"1" + std::wstring(1000 - 3, L'0') + L"60", 60},
        // Every UTF-16 unit: 0x01 is neither blank nor sign nor digit, so no number.
        HugeCase{"EveryCharacter", everyCharacter(), 0},
        // A tab, a number, then every UTF-16 unit, surrogates and unassigned ones included.
        HugeCase{"NumberThenEveryCharacter", L"\t80" + everyCharacter(), 80}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
