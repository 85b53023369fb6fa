// F10 and F11 as system-wide keys, pressed through the system's input stream while a window of
// another program (this test's) has the focus, or while another program holds the key itself.
// A low-level mouse hook in this process sees whether the program clicks.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "harness.h"
#include "observer.h"

using namespace e2e;

namespace {

constexpr UINT WM_FEEDBACK = 0x8075;

::testing::AssertionResult noKey(const FocusWindow& window, UINT key)
{
    for (const KeyMessage& k : window.keys())
        if (k.key == key)
            return ::testing::AssertionFailure() << "the focused window received key " << key;
    return ::testing::AssertionSuccess();
}

class HotkeyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(observer.installed());
        program.emplace(Tavrilo::start());
        ASSERT_TRUE(setTextOf(box(), L"400"));
    }
    HWND box() const { return program->control(计时编辑框); }
    POINT point() const { return clickPointOf(program->window()); }

    // The next tick at the point, starting from now.
    double nextTick(DWORD timeoutMs = 5000) const { return waitForTick(observer, point(), nowMs(), timeoutMs); }

    // Another program's window takes the focus again: the program's clicks land in its own
    // window and activate it. Just after a tick, so that none comes between this and a key, and
    // once the program has had time to handle that tick's clicks, which activate it.
    ::testing::AssertionResult focusElsewhereAfterTick(FocusWindow& other)
    {
        const double tick = nextTick();
        if (tick < 0)
            return ::testing::AssertionFailure() << "no tick";
        sleepUntil(tick + 100);
        if (!other.bringToFront())
            return ::testing::AssertionFailure() << "the other window did not take the focus";
        other.clear();
        return ::testing::AssertionSuccess();
    }

    // A key that nobody claims reaches the focused window: the keys do get there.
    static ::testing::AssertionResult keysReach(const FocusWindow& window)
    {
        pressKey(VK_F9);
        if (window.waitForKey(VK_F9, 3000))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "F9 did not reach the focused window";
    }

    MouseObserver observer;
    std::optional<Tavrilo> program;
};

TEST_F(HotkeyTest, F10StartsAndF11StopsWhileAnotherProgramHasTheFocus)
{
    FocusWindow other;
    ASSERT_TRUE(other.bringToFront());
    ASSERT_TRUE(keysReach(other));
    const POINT at = point();

    // F11 while stopped: nothing to stop, nothing happens.
    const double idleStop = nowMs();
    pressKey(VK_F11);
    sleepUntil(idleStop + 900);
    EXPECT_TRUE(noEventsAt(observer.snapshot(), at, idleStop));
    ASSERT_TRUE(program->running());

    other.clear();
    const double pressed = nowMs();
    pressKey(VK_F10);
    const double first = waitForTick(observer, at, pressed, 5000);
    ASSERT_GT(first, 0) << "F10 starts the clicking" << describe(observer.snapshot(), pressed);
    EXPECT_GE(first - pressed, 400 * 0.6) << "one period after the press";
    EXPECT_TRUE(noKey(other, VK_F10)) << "the press belongs to the hotkey";

    ASSERT_TRUE(focusElsewhereAfterTick(other));
    const double stopped = nowMs();
    pressKey(VK_F11);
    EXPECT_TRUE(other.isForeground());
    sleepUntil(stopped + 1000);
    ASSERT_TRUE(keysReach(other));
    EXPECT_TRUE(noKey(other, VK_F11));

    const std::vector<ButtonEvent> events = observer.snapshot();
    const ClickTicks ticks = doubleClickTicks(events, at);
    EXPECT_TRUE(ticks.ok()) << ticks.fault;
    EXPECT_GE(ticks.count(), 2u);
    EXPECT_TRUE(noEventsAt(events, at, stopped + kStopGrace)) << "F11 stops the clicking";
}

TEST_F(HotkeyTest, HeldF10StartsAgainAtEachRepeatWithoutDisturbingTheCountdown)
{
    ASSERT_TRUE(setTextOf(box(), L"1000"));
    const POINT before = point();
    const double pressed = nowMs();
    pressKey(VK_F10);
    const double tick1 = waitForTick(observer, before, pressed, 5000);
    ASSERT_GT(tick1, 0);

    // Moved, so that the repeats show: each start takes the point from the window anew.
    RECT outer{};
    GetWindowRect(program->window(), &outer);
    ASSERT_TRUE(SetWindowPos(program->window(), nullptr, outer.left + 40, outer.top + 30, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_TRUE(waitUntil([&] { return !samePoint(point(), before); }, 3000));
    const POINT after = point();

    // The key held down: five key-downs at the keyboard's repeat rate, then one key-up.
    sleepUntil(tick1 + 300);
    for (int i = 0; i < 5; ++i) {
        sendKey(VK_F10, false);
        Sleep(40);
    }
    sendKey(VK_F10, true);
    const double released = nowMs();

    const double tick2 = waitForTick(observer, after, tick1 + 100, 5000);
    ASSERT_GT(tick2, 0) << "the repeats took the new point" << describe(observer.snapshot(), tick1);
    EXPECT_NEAR(tick2 - tick1, 1000, 350) << "the tick comes when it was due";
    EXPECT_LT(tick2 - released, 850) << "a fresh countdown would wait a full period after the last repeat";

    Sleep(50);
    const double stopped = nowMs();
    pressKey(VK_F11);
    sleepUntil(stopped + 600);
    const std::vector<ButtonEvent> events = observer.snapshot();
    EXPECT_TRUE(noEventsAt(events, before, tick1 + 100));
    EXPECT_TRUE(noEventsAt(events, after, stopped + kStopGrace));
    EXPECT_TRUE(doubleClickTicks(events, after).ok());
}

// ---- Keys with modifiers belong to whoever has the focus ----

struct ModifiedKey {
    const char* name;
    std::vector<WORD> chord;
    WORD key;
    bool clicking;  // pressed while clicking runs (a stop key) or while stopped (a start key)
};

TEST_F(HotkeyTest, KeysWithModifiersDoNothingHereAndReachTheFocusedWindow)
{
    const std::vector<ModifiedKey> cases = {
        {"Ctrl+F10", {VK_CONTROL, VK_F10}, VK_F10, false},
        {"Alt+F10", {VK_MENU, VK_F10}, VK_F10, false},
        {"Shift+F10", {VK_SHIFT, VK_F10}, VK_F10, false},
        {"Shift+F11", {VK_SHIFT, VK_F11}, VK_F11, true},
        {"Ctrl+F11", {VK_CONTROL, VK_F11}, VK_F11, true},
    };
    FocusWindow other;
    const POINT at = point();
    for (const ModifiedKey& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(other.bringToFront());
        if (c.clicking) {
            pressKey(VK_F10);
            ASSERT_TRUE(focusElsewhereAfterTick(other));
        }
        other.clear();
        const double pressed = nowMs();
        pressKeys(c.chord);
        EXPECT_TRUE(other.waitForKey(c.key, 3000)) << "the focused window gets the key";
        EXPECT_TRUE(other.isForeground());
        sleepUntil(pressed + 1000);
        const std::vector<ButtonEvent> events = observer.snapshot();
        if (c.clicking) {
            EXPECT_GE(ticksBetween(events, at, pressed, pressed + 1000), 2u) << "the clicking goes on";
            const double stopped = nowMs();
            pressKey(VK_F11);
            sleepUntil(stopped + 600);
            EXPECT_TRUE(noEventsAt(observer.snapshot(), at, stopped + kStopGrace));
        } else {
            EXPECT_TRUE(noEventsAt(events, at, pressed)) << "nothing started";
        }
        EXPECT_TRUE(doubleClickTicks(observer.snapshot(), at).ok());
        observer.clear();
    }
    EXPECT_TRUE(program->running());
}

// ---- A key that another program holds ----

class KeyHeldElsewhere : public ::testing::TestWithParam<WORD> {
protected:
    MouseObserver observer;
};

TEST_P(KeyHeldElsewhere, OnlyThatKeyIsLostAndTheButtonsStillWork)
{
    const WORD held = GetParam();
    HotkeyHolder holder(0, held);
    ASSERT_TRUE(holder.registered());
    Tavrilo program = Tavrilo::start();
    ASSERT_TRUE(setTextOf(program.control(计时编辑框), L"400"));
    const POINT at = clickPointOf(program.window());

    if (held == VK_F10) {
        const double pressed = nowMs();
        pressKey(VK_F10);
        EXPECT_TRUE(holder.waitForPresses(1, 3000)) << "the holder gets F10";
        sleepUntil(pressed + 1000);
        EXPECT_TRUE(noEventsAt(observer.snapshot(), at, pressed)) << "F10 does nothing here";

        const double started = pressButton(observer, program.control(点击));
        ASSERT_GT(started, 0);
        ASSERT_GT(waitForTick(observer, at, started, 5000), 0) << "开始 still starts";
        ASSERT_GT(waitForTick(observer, at, nowMs(), 5000), 0);
        const double stopped = nowMs();
        pressKey(VK_F11);
        sleepUntil(stopped + 800);
        EXPECT_TRUE(noEventsAt(observer.snapshot(), at, stopped + kStopGrace)) << "F11 still stops";
    } else {
        const double pressed = nowMs();
        pressKey(VK_F10);
        ASSERT_GT(waitForTick(observer, at, pressed, 5000), 0) << "F10 still starts";

        ASSERT_GT(waitForTick(observer, at, nowMs(), 5000), 0);
        const double lost = nowMs();
        pressKey(VK_F11);
        EXPECT_TRUE(holder.waitForPresses(1, 3000)) << "the holder gets F11";
        sleepUntil(lost + 1000);
        EXPECT_GE(ticksBetween(observer.snapshot(), at, lost + kStopGrace, lost + 1000), 1u)
            << "F11 does not stop the clicking here";

        // Just after a tick, so that no tick takes the pointer off the button mid-click.
        ASSERT_GT(waitForTick(observer, at, nowMs(), 5000), 0);
        const double stopped = pressButton(observer, program.control(停止按钮));
        ASSERT_GT(stopped, 0);
        sleepUntil(stopped + 800);
        EXPECT_TRUE(noEventsAt(observer.snapshot(), at, stopped)) << "停止 still stops";
    }
    EXPECT_TRUE(doubleClickTicks(observer.snapshot(), at).ok());
    EXPECT_TRUE(program.running());
    EXPECT_EQ(holder.presses(), 1);
}

INSTANTIATE_TEST_SUITE_P(Hotkeys, KeyHeldElsewhere, ::testing::Values(WORD{VK_F10}, WORD{VK_F11}),
                         [](const auto& info) { return std::string(info.param == VK_F10 ? "F10" : "F11"); });

TEST_F(HotkeyTest, ASecondCopyGetsNeitherKeyButItsButtonsWork)
{
    // The first copy moves aside, so that the two click points differ.
    ASSERT_TRUE(SetWindowPos(program->window(), nullptr, 0, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_TRUE(waitUntil([&] { return samePoint(point(), {310, 700}); }, 3000));
    const POINT firstAt = point();

    Tavrilo second = Tavrilo::start();
    ASSERT_TRUE(setTextOf(second.control(计时编辑框), L"400"));
    const POINT secondAt = clickPointOf(second.window());
    ASSERT_FALSE(samePoint(firstAt, secondAt));

    // The keys still belong to the first copy.
    const double pressed = nowMs();
    pressKey(VK_F10);
    ASSERT_GT(waitForTick(observer, firstAt, pressed, 5000), 0) << "F10 starts the first copy";
    ASSERT_GT(waitForTick(observer, firstAt, nowMs(), 5000), 0);
    const double stopped = nowMs();
    pressKey(VK_F11);
    sleepUntil(stopped + 800);
    std::vector<ButtonEvent> events = observer.snapshot();
    EXPECT_TRUE(noEventsAt(events, firstAt, stopped + kStopGrace)) << "F11 stops the first copy";
    EXPECT_TRUE(noEventsAt(events, secondAt, pressed)) << "the second copy did not start";

    // The second copy's buttons.
    const double started = pressButton(observer, second.control(点击));
    ASSERT_GT(started, 0);
    ASSERT_GT(waitForTick(observer, secondAt, started, 5000), 0) << "开始 starts the second copy";
    ASSERT_GT(waitForTick(observer, secondAt, nowMs(), 5000), 0);
    const double secondStopped = pressButton(observer, second.control(停止按钮));
    ASSERT_GT(secondStopped, 0);
    sleepUntil(secondStopped + 800);
    events = observer.snapshot();
    EXPECT_TRUE(noEventsAt(events, secondAt, secondStopped)) << "停止 stops the second copy";
    EXPECT_TRUE(noEventsAt(events, firstAt, started)) << "the first copy stayed stopped";
    EXPECT_TRUE(doubleClickTicks(events, firstAt).ok());
    EXPECT_TRUE(doubleClickTicks(events, secondAt).ok());

    // Neither key came free for anyone else while both copies run.
    EXPECT_FALSE(HotkeyHolder(0, VK_F10).registered());
    EXPECT_FALSE(HotkeyHolder(0, VK_F11).registered());
    EXPECT_TRUE(program->running());
    EXPECT_TRUE(second.running());
}

// ---- The road of a press: WM_HOTKEY to the main window, WM_FEEDBACK to 标签4 ----

struct Delivery {
    const char* name;
    UINT message;  // WM_HOTKEY, posted to the main window, or WM_FEEDBACK, sent to 标签4
    WPARAM id;
    bool starts;
};

TEST_F(HotkeyTest, OnlyTheIssuedIdentifiersReachTheHandlers)
{
    const std::vector<Delivery> cases = {
        {"WM_HOTKEY 33000", WM_HOTKEY, 33000, false}, {"WM_HOTKEY 33003", WM_HOTKEY, 33003, false},
        {"WM_HOTKEY 1", WM_HOTKEY, 1, false},         {"WM_HOTKEY 0", WM_HOTKEY, 0, false},
        {"WM_HOTKEY 33001", WM_HOTKEY, 33001, true},  {"WM_FEEDBACK 33003", WM_FEEDBACK, 33003, false},
        {"WM_FEEDBACK 1", WM_FEEDBACK, 1, false},     {"WM_FEEDBACK 0", WM_FEEDBACK, 0, false},
        {"WM_FEEDBACK 33001", WM_FEEDBACK, 33001, true},
    };
    const POINT at = point();
    const HWND label = program->control(标签4);
    auto deliver = [&](UINT message, WPARAM id) {
        if (message == WM_HOTKEY)
            return PostMessageW(program->window(), WM_HOTKEY, id, MAKELPARAM(0, VK_F10)) != FALSE;
        DWORD_PTR answer = 1;
        return SendMessageTimeoutW(label, WM_FEEDBACK, id, 0, SMTO_ABORTIFHUNG, 5000, &answer) && answer == 0;
    };
    for (const Delivery& c : cases) {
        SCOPED_TRACE(c.name);
        observer.clear();
        const double sent = nowMs();
        ASSERT_TRUE(deliver(c.message, c.id));
        if (!c.starts) {
            sleepUntil(sent + 900);
            EXPECT_TRUE(noEventsAt(observer.snapshot(), at, sent)) << "no start";
            continue;
        }
        ASSERT_GT(waitForTick(observer, at, sent, 5000), 0) << "the start identifier starts";
        // The stop identifier by the same road, just after a tick.
        ASSERT_GT(waitForTick(observer, at, nowMs(), 5000), 0);
        const double stopped = nowMs();
        ASSERT_TRUE(deliver(c.message, 33002));
        sleepUntil(stopped + 800);
        EXPECT_TRUE(noEventsAt(observer.snapshot(), at, stopped + kStopGrace)) << "33002 stops";
        EXPECT_TRUE(doubleClickTicks(observer.snapshot(), at).ok());
    }
    EXPECT_TRUE(program->running());
}

}  // namespace
