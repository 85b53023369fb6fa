// Windows messages becoming the form's events: button clicks, the label's hotkey feedback and
// the timer's ticks.
#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <string>
#include <vector>

#include "app/form_access.h"
#include "support.h"

namespace {

using Feedback = std::vector<std::pair<std::int32_t, std::int32_t>>;

struct ButtonCase {
    EventSource button;
    const char* handler;
};

class ButtonClick : public testing::TestWithParam<ButtonCase> {};

TEST_P(ButtonClick, RaisesThatButtonsClickedHandlerOnly)
{
    LoadedMainWindow loaded;
    ASSERT_TRUE(loaded.loaded());
    handlerLog() = {};
    SendMessageW(loaded.control(GetParam().button), BM_CLICK, 0, 0);
    pumpFor(30);
    EXPECT_EQ(handlerLog().order, std::vector<std::string>{GetParam().handler});

    SendMessageW(loaded.control(GetParam().button), BM_CLICK, 0, 0);
    EXPECT_EQ(handlerLog().order, (std::vector<std::string>{GetParam().handler, GetParam().handler}));
}

INSTANTIATE_TEST_SUITE_P(Buttons, ButtonClick,
                         testing::Values(ButtonCase{EventSource::点击, "start"},
                                         ButtonCase{EventSource::停止按钮, "stop"}));

TEST(ButtonClickNotification, FromAnyOtherWindowRaisesNothing)
{
    LoadedMainWindow loaded;
    ASSERT_TRUE(loaded.loaded());
    handlerLog() = {};
    // BN_CLICKED as if reported by the edit box, by the pane, and by nobody.
    for (EventSource from : {EventSource::计时编辑框, EventSource::超文本浏览框1}) {
        HWND c = loaded.control(from);
        SendMessageW(loaded.window(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), BN_CLICKED), reinterpret_cast<LPARAM>(c));
    }
    SendMessageW(loaded.window(), WM_COMMAND, MAKEWPARAM(1011, BN_CLICKED), 0);
    // Another notification than BN_CLICKED from the start button.
    HWND start = loaded.control(EventSource::点击);
    SendMessageW(loaded.window(), WM_COMMAND, MAKEWPARAM(1011, BN_SETFOCUS), reinterpret_cast<LPARAM>(start));
    EXPECT_TRUE(handlerLog().order.empty());
}

TEST(LabelFeedback, Label4RaisesTheFeedbackHandlerWithWParamAndLParamAndAnswersZero)
{
    LoadedMainWindow loaded;
    ASSERT_TRUE(loaded.loaded());
    HWND label4 = loaded.control(EventSource::标签4);
    const std::pair<WPARAM, LPARAM> sent[] = {
        {33001, 0}, {33002, 0}, {0, 0}, {7, -5}, {0xFFFFFFFFu, 1}, {0x7FFFFFFF, LPARAM(INT_MIN)},
    };
    Feedback expected;
    for (const auto& [w, l] : sent) {
        handlerLog() = {};
        EXPECT_EQ(SendMessageW(label4, WM_FEEDBACK, w, l), 0);
        const std::pair<std::int32_t, std::int32_t> args{static_cast<std::int32_t>(w), static_cast<std::int32_t>(l)};
        EXPECT_EQ(handlerLog().feedback, Feedback{args});
        EXPECT_EQ(handlerLog().order, std::vector<std::string>{"feedback"});
    }
}

TEST(LabelFeedback, OtherLabelsHaveNoFeedbackHandler)
{
    LoadedMainWindow loaded;
    ASSERT_TRUE(loaded.loaded());
    handlerLog() = {};
    for (EventSource label : {EventSource::标签7, EventSource::标签6, EventSource::标签5, EventSource::标签2,
                              EventSource::标签3, EventSource::标签1})
        EXPECT_EQ(SendMessageW(loaded.control(label), WM_FEEDBACK, 33001, 0), 0);
    EXPECT_TRUE(handlerLog().order.empty());
}

TEST(TimerTick, EveryWmTimerOfTheTimerWindowRaisesPeriodElapsedWhateverItsId)
{
    LoadedMainWindow loaded;
    ASSERT_TRUE(loaded.loaded());
    HWND timer = loaded.control(EventSource::时钟1);
    handlerLog() = {};
    int expectedTicks = 0;
    for (WPARAM id : {WPARAM(1000), WPARAM(0), WPARAM(1), WPARAM(999), WPARAM(0xFFFFFFFFu)}) {
        SCOPED_TRACE(testing::Message() << "timer id " << id);
        EXPECT_EQ(SendMessageW(timer, WM_TIMER, id, 0), 0);
        EXPECT_EQ(handlerLog().count("tick"), ++expectedTicks);
        // Posted, as Windows delivers a real tick.
        PostMessageW(timer, WM_TIMER, id, 0);
        pumpWaitingMessages();
        EXPECT_EQ(handlerLog().count("tick"), ++expectedTicks);
    }
    // The main window's own WM_TIMER is not the timer's.
    SendMessageW(loaded.window(), WM_TIMER, 1000, 0);
    EXPECT_EQ(handlerLog().count("tick"), expectedTicks);
    EXPECT_EQ(handlerLog().order.size(), static_cast<std::size_t>(expectedTicks));
}

}  // namespace
