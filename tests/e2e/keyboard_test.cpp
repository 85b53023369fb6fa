// Tavrilo at the keyboard: the focus at start, Tab and Shift+Tab, Esc, Enter, and what the
// interval box lets a person type and paste. Keys go through the system's input stream.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "harness.h"

using namespace e2e;

namespace {
// The name of the control that has the focus, for readable failures.
std::string focusName(const Tavrilo& program)
{
    const HWND focus = focusOf(program);
    if (!focus)
        return "(none)";
    if (focus == program.window())
        return "the main window";
    switch (GetDlgCtrlID(focus)) {
    case 点击: return "开始";
    case 停止按钮: return "停止";
    case 计时编辑框: return "interval box";
    case 超文本浏览框1: return "pane";
    }
    return utf8(classOf(focus)) + " " + std::to_string(GetDlgCtrlID(focus));
}

// Presses the keys and waits for the focus to reach `expected`.
::testing::AssertionResult focusMovesTo(const Tavrilo& program, const std::vector<WORD>& keys, int expected)
{
    pressKeys(keys);
    if (waitUntil([&] { return focusOf(program) == program.control(expected); }))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the focus is on " << focusName(program);
}

::testing::AssertionResult focusStartsInThePane(const Tavrilo& program)
{
    if (waitUntil([&] { return focusOf(program) == program.control(超文本浏览框1); }))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the focus is on " << focusName(program);
}

TEST(Focus, StartsInTheWebPagePane)
{
    Tavrilo program = Tavrilo::start();
    EXPECT_TRUE(focusStartsInThePane(program));
    EXPECT_EQ(utf8(classOf(focusOf(program))), "TavriloWebPagePane");
}

struct FocusStep {
    std::vector<WORD> keys;
    int focus;
};

// Around once forwards, then back: the labels and the timer never take the focus.
TEST(Focus, TabAndShiftTabCycleThroughTheControlsInKeyboardOrder)
{
    const FocusStep steps[] = {
        {{VK_TAB}, 点击},
        {{VK_TAB}, 计时编辑框},
        {{VK_TAB}, 停止按钮},
        {{VK_TAB}, 超文本浏览框1},
        {{VK_TAB}, 点击},
        {{VK_SHIFT, VK_TAB}, 超文本浏览框1},
        {{VK_SHIFT, VK_TAB}, 停止按钮},
        {{VK_SHIFT, VK_TAB}, 计时编辑框},
        {{VK_SHIFT, VK_TAB}, 点击},
        {{VK_SHIFT, VK_TAB}, 超文本浏览框1},
    };
    Tavrilo program = Tavrilo::start();
    ASSERT_TRUE(focusStartsInThePane(program));
    int n = 0;
    for (const FocusStep& step : steps) {
        SCOPED_TRACE("step " + std::to_string(++n));
        ASSERT_TRUE(focusMovesTo(program, step.keys, step.focus));
    }
}

TEST(Focus, ClickingIntoTheIntervalBoxFocusesIt)
{
    Tavrilo program = Tavrilo::start();
    ASSERT_TRUE(focusStartsInThePane(program));
    RECT box{};
    GetWindowRect(program.control(计时编辑框), &box);
    clickAt({(box.left + box.right) / 2, (box.top + box.bottom) / 2});
    EXPECT_TRUE(waitUntil([&] { return focusOf(program) == program.control(计时编辑框); }))
        << "the focus is on " << focusName(program);
}

TEST(Focus, ReturnsToTheSameControlWhenTheWindowIsActivatedAgain)
{
    Tavrilo program = Tavrilo::start();
    ASSERT_TRUE(focusStartsInThePane(program));
    ASSERT_TRUE(focusMovesTo(program, {VK_TAB}, 点击));
    ASSERT_TRUE(focusMovesTo(program, {VK_TAB}, 计时编辑框));
    {
        // Another window takes the foreground for a while.
        Tavrilo other = Tavrilo::start();
        ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == other.window(); }));
        ASSERT_TRUE(program.bringToFront());
    }
    EXPECT_TRUE(waitUntil([&] { return focusOf(program) == program.control(计时编辑框); }))
        << "the focus is on " << focusName(program);
}

// Esc closes the window from wherever the focus is; so does Alt+F4.
struct CloseKeyCase {
    const char* name;
    int tabs;  // Tab presses from the pane to the control that is to have the focus
    int focus;
    std::vector<WORD> keys;
};

void PrintTo(const CloseKeyCase& c, std::ostream* os)
{
    *os << c.name;
}

class ClosingByKey : public testing::TestWithParam<CloseKeyCase> {};

TEST_P(ClosingByKey, EndsTheProgramWithExitCode0)
{
    const CloseKeyCase& c = GetParam();
    Tavrilo program = Tavrilo::start();
    ASSERT_TRUE(focusStartsInThePane(program));
    for (int i = 0; i < c.tabs; ++i)
        pressKey(VK_TAB);
    ASSERT_TRUE(waitUntil([&] { return focusOf(program) == program.control(c.focus); }))
        << "the focus is on " << focusName(program);
    pressKeys(c.keys);
    DWORD code = 0xDEAD;
    ASSERT_TRUE(program.waitForExit(kPatience, &code)) << "still running";
    EXPECT_EQ(code, 0u);
}

INSTANTIATE_TEST_SUITE_P(Keys, ClosingByKey,
                         testing::Values(CloseKeyCase{"EscInThePane", 0, 超文本浏览框1, {VK_ESCAPE}},
                                         CloseKeyCase{"EscOnStart", 1, 点击, {VK_ESCAPE}},
                                         CloseKeyCase{"EscInTheIntervalBox", 2, 计时编辑框, {VK_ESCAPE}},
                                         CloseKeyCase{"EscOnStop", 3, 停止按钮, {VK_ESCAPE}},
                                         CloseKeyCase{"AltF4InThePane", 0, 超文本浏览框1, {VK_MENU, VK_F4}}),
                         [](const auto& info) { return std::string(info.param.name); });

// The interval box, focused by the keyboard as a person would, in one copy of the program for
// all cases; each case starts from an empty box.
class IntervalBox : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        program.emplace(Tavrilo::start());
        if (focusStartsInThePane(*program)) {
            pressKey(VK_TAB);
            pressKey(VK_TAB);
        }
    }
    static void TearDownTestSuite() { program.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(program && program->running()) << "the program is not running";
        box = program->control(计时编辑框);
        ASSERT_TRUE(waitUntil([&] { return focusOf(*program) == box; })) << "the focus is on " << focusName(*program);
        ASSERT_TRUE(setTextOf(box, L""));
    }

    // True once the box holds `expected`; the box's text otherwise.
    ::testing::AssertionResult boxBecomes(const std::wstring& expected)
    {
        if (waitUntil([&] { return textOf(box) == expected; }))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the box holds \"" << utf8(textOf(box)) << "\"";
    }

    static std::optional<Tavrilo> program;
    HWND box = nullptr;
};
std::optional<Tavrilo> IntervalBox::program;

struct TypingCase {
    const wchar_t* typed;
    const wchar_t* shown;
};

TEST_F(IntervalBox, KeepsDigitsAndMinusSignsOnlyOfWhatIsTyped)
{
    const TypingCase cases[] = {
        {L"12a3", L"123"},
        {L"-5", L"-5"},
        {L"1-2", L"1-2"},
        {L"--7-", L"--7-"},
        {L"x9 .+,", L"9"},  // letters, space and punctuation
        {L"０１2", L"2"},    // full-width digits come as other characters
    };
    for (const TypingCase& c : cases) {
        SCOPED_TRACE(utf8(c.typed));
        ASSERT_TRUE(setTextOf(box, L""));
        typeText(c.typed);
        // The last character typed is kept in every case, so the box shows the result only once
        // all key presses have been handled.
        EXPECT_TRUE(boxBecomes(c.shown));
    }
}

TEST_F(IntervalBox, BackspaceDeletesTheCharacterBeforeTheCaret)
{
    typeText(L"123");
    ASSERT_TRUE(boxBecomes(L"123"));
    pressKey(VK_BACK);
    EXPECT_TRUE(boxBecomes(L"12"));
    pressKey(VK_BACK);
    pressKey(VK_BACK);
    EXPECT_TRUE(boxBecomes(L""));
}

TEST_F(IntervalBox, PastedTextIsNotFiltered)
{
    ASSERT_TRUE(paste(L"abc"));
    EXPECT_TRUE(boxBecomes(L"abc"));
    typeText(L"4");
    EXPECT_TRUE(boxBecomes(L"abc4"));
}

TEST_F(IntervalBox, EnterChangesNothingAndTheWindowStays)
{
    typeText(L"1000");
    ASSERT_TRUE(boxBecomes(L"1000"));
    pressKey(VK_RETURN);
    // A digit typed after Enter shows when Enter has been handled, as keys come in order.
    typeText(L"7");
    EXPECT_TRUE(boxBecomes(L"10007"));
    EXPECT_TRUE(program->running());
    EXPECT_TRUE(IsWindowVisible(program->window()));
    EXPECT_EQ(focusOf(*program), box);
}
}  // namespace
