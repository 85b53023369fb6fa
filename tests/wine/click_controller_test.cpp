// Clicking on and off in the loaded window: the click point, the timer's period from the
// interval text (as code page 936 bytes), and the tick that clicks only while running.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iomanip>
#include <string>

#include "app/form_access.h"
#include "clicker/click_controller.h"
#include "clicker/interval_timer.h"
#include "clicker/text_to_int.h"
#include "hotkeys/hotkeys.h"
#include "support.h"

namespace {

void PrintTo(const std::wstring& s, std::ostream* os)
{
    *os << "L\"";
    for (wchar_t c : s) {
        if (c >= 0x20 && c < 0x7F)
            *os << static_cast<char>(c);
        else
            *os << "\\u" << std::hex << std::setw(4) << std::setfill('0') << static_cast<unsigned>(c) << std::dec;
    }
    *os << "\"";
}

std::string hex(const std::string& bytes)
{
    std::string out;
    char b[4];
    for (unsigned char c : bytes) {
        snprintf(b, sizeof b, "%02X ", c);
        out += b;
    }
    return out;
}

class ClickControllerTest : public testing::Test {
protected:
    explicit ClickControllerTest(const FormHandlers& handlers = recordingHandlers()) : loaded_(handlers) {}
    void SetUp() override
    {
        ASSERT_TRUE(loaded_.loaded());
        isRunning = clickX = clickY = 0;
        ASSERT_TRUE(timer());
    }
    void TearDown() override
    {
        if (loaded_.window())
            stopClicking();
        isRunning = clickX = clickY = 0;
    }

    IntervalTimer* timer() const { return IntervalTimer::from(loaded_.control(EventSource::时钟1)); }
    HWND box() const { return loaded_.control(EventSource::计时编辑框); }
    void setText(const std::wstring& text) { SetWindowTextW(box(), text.c_str()); }
    POINT expectedPoint() const
    {
        RECT r{};
        GetWindowRect(loaded_.window(), &r);
        return {r.left + 310, r.top + 600};
    }

    LoadedMainWindow loaded_;
};

struct PeriodCase {
    std::wstring text;
    std::int32_t period;
};

void PrintTo(const PeriodCase& c, std::ostream* os)
{
    PrintTo(c.text, os);
    *os << " -> " << c.period;
}

class StartPeriod : public ClickControllerTest, public testing::WithParamInterface<PeriodCase> {};

TEST_P(StartPeriod, SetsRunningThePointAndThePeriodFromTheIntervalText)
{
    setText(GetParam().text);
    startClicking();
    EXPECT_EQ(isRunning, 1);
    const POINT at = expectedPoint();
    EXPECT_EQ(clickX, at.x);
    EXPECT_EQ(clickY, at.y);
    EXPECT_EQ(timer()->period(), GetParam().period);
    EXPECT_EQ(timer()->timerActive(), GetParam().period > 0);
    // The text itself is left as it was.
    wchar_t now[64] = {};
    GetWindowTextW(box(), now, 64);
    EXPECT_EQ(std::wstring(now), GetParam().text);
}

// \u takes exactly four hex digits: L"\u300050" is U+3000 followed by "50".
// clang-format off
const PeriodCase kPeriodCases[] = {
    {L"1000", 1000}, {L"", 0}, {L"0", 0}, {L"abc", 0}, {L"-50", 0}, {L"12abc", 12}, {L" 50", 50},
    {L"00012", 12}, {L"1.5", 1}, {L"+7", 7}, {L"--5", 0},
    {L"\uFF11\uFF12\uFF13", 123},      // full-width digits
    {L"\u300050", 50},                  // ideographic space, then 50
    {L"\uFF0B7", 7},                    // full-width plus
    {L"\uFF0D5", 0},                    // full-width minus: -5
    {L"2147483647", 2147483647}, {L"2147483648", 0}, {L"99999999999", 1215752191},
    {L"12\u26033", 12},                 // a snowman is not in code page 936: '?'
    {L"1\U0001F6002", 1},               // nor is an emoji
    {L"12\u01013", 12},                 // a-macron is in 936, but not a digit
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(IntervalTexts, StartPeriod, testing::ValuesIn(kPeriodCases));

TEST_F(ClickControllerTest, StartTakesTheWindowsOuterCornerAtThatMomentOnly)
{
    SetWindowPos(loaded_.window(), nullptr, 100, 57, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    startClicking();
    EXPECT_EQ(clickX, 410);
    EXPECT_EQ(clickY, 657);

    // Moving the window afterwards leaves the point where it was, until the next start.
    SetWindowPos(loaded_.window(), nullptr, 300, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(clickX, 410);
    EXPECT_EQ(clickY, 657);
    startClicking();
    EXPECT_EQ(clickX, 610);
    EXPECT_EQ(clickY, 620);

    // Minimised: whatever rectangle Windows reports then.
    ShowWindow(loaded_.window(), SW_MINIMIZE);
    startClicking();
    RECT r{};
    GetWindowRect(loaded_.window(), &r);
    EXPECT_EQ(clickX, r.left + 310);
    EXPECT_EQ(clickY, r.top + 600);
}

TEST_F(ClickControllerTest, SameTextAgainKeepsTheRunningCountdownAndANewOneRestartsIt)
{
    setText(L"1000");
    startClicking();
    ASSERT_EQ(timer()->period(), 1000);
    setText(L"500");
    EXPECT_EQ(timer()->period(), 1000) << "the text is read only at start";
    startClicking();
    EXPECT_EQ(timer()->period(), 500);
}

TEST_F(ClickControllerTest, StopClearsRunningAndThePeriodAndKeepsThePoint)
{
    setText(L"250");
    startClicking();
    const std::int32_t x = clickX, y = clickY;
    ASSERT_TRUE(timer()->timerActive());
    stopClicking();
    EXPECT_EQ(isRunning, 0);
    EXPECT_EQ(timer()->period(), 0);
    EXPECT_FALSE(timer()->timerActive());
    EXPECT_EQ(clickX, x);
    EXPECT_EQ(clickY, y);
    // Stopping while stopped changes nothing.
    stopClicking();
    EXPECT_EQ(isRunning, 0);
    EXPECT_EQ(timer()->period(), 0);
    EXPECT_EQ(clickX, x);
}

TEST_F(ClickControllerTest, ATickClicksDoubleAtThePointOnlyWhileRunningIsOne)
{
    MouseButtonWatcher watcher;
    ASSERT_TRUE(watcher.installed());
    setText(L"0");  // running, but no timer of its own: the ticks below are the only ones
    startClicking();
    const POINT at{clickX, clickY};
    SetCursorPos(at.x - 100, at.y - 100);
    pumpFor(30);
    watcher.clear();

    onClickTimer();
    auto seen = watcher.waitFor(4);
    EXPECT_EQ(seen, (std::vector<SeenButton>{{WM_LBUTTONDOWN, at, LLMHF_INJECTED},
                                             {WM_LBUTTONUP, at, LLMHF_INJECTED},
                                             {WM_LBUTTONDOWN, at, LLMHF_INJECTED},
                                             {WM_LBUTTONUP, at, LLMHF_INJECTED}}))
        << describe(seen);
    POINT now{};
    GetCursorPos(&now);
    EXPECT_EQ(now.x, at.x);
    EXPECT_EQ(now.y, at.y);

    for (std::int32_t notRunning : {0, 2, -1}) {
        SCOPED_TRACE(testing::Message() << "isRunning " << notRunning);
        isRunning = notRunning;
        SetCursorPos(at.x - 100, at.y - 100);
        pumpFor(30);
        watcher.clear();
        onClickTimer();
        seen = watcher.waitFor(1, 300);
        EXPECT_TRUE(seen.empty()) << describe(seen);
        GetCursorPos(&now);
        EXPECT_EQ(now.x, at.x - 100);
        EXPECT_EQ(now.y, at.y - 100);
    }
}

// The program's own handlers, except the created one (no hotkeys are registered here).
FormHandlers clickingHandlers()
{
    return {recordCreated, startClicking, stopClicking, onClickTimer, onHotkeyFeedback};
}

class ClickingThroughTheWindow : public ClickControllerTest {
protected:
    ClickingThroughTheWindow() : ClickControllerTest(clickingHandlers()) {}
};

TEST_F(ClickingThroughTheWindow, StartButtonClicksAtEachPeriodAndStopButtonEndsIt)
{
    MouseButtonWatcher watcher;
    ASSERT_TRUE(watcher.installed());
    setText(L"80");
    SendMessageW(loaded_.control(EventSource::点击), BM_CLICK, 0, 0);
    ASSERT_EQ(isRunning, 1);
    const POINT at = expectedPoint();
    EXPECT_EQ(timer()->period(), 80);

    // Two ticks: two double clicks, all at the click point.
    ASSERT_TRUE(pumpUntil([&] { return watcher.seen().size() >= 8; }, 5000)) << describe(watcher.seen());
    SendMessageW(loaded_.control(EventSource::停止按钮), BM_CLICK, 0, 0);
    EXPECT_EQ(isRunning, 0);
    EXPECT_EQ(timer()->period(), 0);
    const auto seen = watcher.waitFor(8);
    ASSERT_EQ(seen.size() % 4, 0u) << describe(seen);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        const WPARAM expected = i % 2 == 0 ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        EXPECT_EQ(seen[i], (SeenButton{expected, at, LLMHF_INJECTED})) << "event " << i << ": " << describe(seen);
    }

    // Nothing follows the stop.
    watcher.clear();
    pumpFor(400);
    EXPECT_TRUE(watcher.seen().empty()) << describe(watcher.seen());
}

struct BytesCase {
    std::wstring text;
    std::string bytes;
};

void PrintTo(const BytesCase& c, std::ostream* os)
{
    PrintTo(c.text, os);
}

class IntervalBytes : public ClickControllerTest, public testing::WithParamInterface<BytesCase> {};

TEST_P(IntervalBytes, AreTheTextInCodePage936WithQuestionMarksForWhatItLacks)
{
    setText(GetParam().text);
    const std::string bytes = intervalTextBytes();
    EXPECT_EQ(bytes, GetParam().bytes) << "got " << hex(bytes);
}

// clang-format off
const BytesCase kBytesCases[] = {
    {L"1000", "1000"},
    {L"", ""},
    {L"\uFF11\uFF12\uFF13", "\xA3\xB1\xA3\xB2\xA3\xB3"},
    {L"\u300050", std::string("\xA1\xA1") + "50"},
    {L"12\u26033", "12?3"},                                // snowman: not in 936
    {L"\u0E015", "?5"},                                    // Thai: not in 936
    {L"1\U0001F6002", "1??2"},                             // emoji: one '?' per half
    {L"12\u01013", std::string("12\xA8\xA1") + "3"},        // a-macron is in 936 (pinyin)
    {L"\u20AC", "\x80"},                                   // and so is the euro sign
    {L"\u6BEB\u79D2", "\xBA\xC1\xC3\xEB"},                 // 毫秒
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Texts, IntervalBytes, testing::ValuesIn(kBytesCases));

// Independent of the product: the decimal number of `digits`, wrapping modulo 2^32.
std::int32_t wrappedDecimal(const std::string& digits)
{
    std::uint32_t total = 0;
    for (char c : digits)
        total = total * 10u + static_cast<std::uint32_t>(c - '0');
    return static_cast<std::int32_t>(total);
}

TEST_F(ClickControllerTest, AHundredThousandPastedDigitsGiveTheWrappedNumber)
{
    std::wstring digits;
    for (int i = 0; i < 100000; ++i)
        digits += static_cast<wchar_t>(L'0' + (i * 7 + 3) % 10);
    ASSERT_TRUE(OpenClipboard(loaded_.window()));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (digits.size() + 1) * sizeof(wchar_t));
    std::copy(digits.c_str(), digits.c_str() + digits.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    ASSERT_TRUE(SetClipboardData(CF_UNICODETEXT, memory));
    CloseClipboard();
    setText(L"");
    SendMessageW(box(), WM_PASTE, 0, 0);
    ASSERT_EQ(GetWindowTextLengthW(box()), 100000);

    startClicking();
    const std::string ascii(digits.begin(), digits.end());
    EXPECT_EQ(intervalTextBytes(), ascii);
    EXPECT_EQ(timer()->period(), std::max(0, wrappedDecimal(ascii)));
    EXPECT_EQ(isRunning, 1);
}

TEST_F(ClickControllerTest, EveryCharacterValueInTheBoxConvertsWithoutHarm)
{
    std::wstring all;
    for (unsigned c = 1; c <= 0xFFFF; ++c)
        all += static_cast<wchar_t>(c);
    for (const std::wstring& prefix : {std::wstring(), std::wstring(L"42")}) {
        SCOPED_TRACE(testing::Message() << "after " << (prefix.empty() ? "nothing" : "42"));
        setText(prefix + all);
        std::wstring inBox(static_cast<std::size_t>(GetWindowTextLengthW(box())) + 1, L'\0');
        inBox.resize(static_cast<std::size_t>(GetWindowTextW(box(), inBox.data(), static_cast<int>(inBox.size()))));
        ASSERT_GT(inBox.size(), prefix.size());

        const std::string bytes = intervalTextBytes();
        const int size =
            WideCharToMultiByte(936, 0, inBox.data(), static_cast<int>(inBox.size()), nullptr, 0, nullptr, nullptr);
        std::string expected(static_cast<std::size_t>(size), '\0');
        WideCharToMultiByte(936, 0, inBox.data(), static_cast<int>(inBox.size()), expected.data(), size, nullptr,
                            nullptr);
        EXPECT_EQ(bytes.size(), expected.size());
        EXPECT_TRUE(bytes == expected);

        startClicking();
        // U+0001 follows: not white space, not a digit. The number is the prefix's, or none.
        EXPECT_EQ(timer()->period(), prefix.empty() ? 0 : 42);
        EXPECT_EQ(timer()->period(), std::max(0, textToInt(bytes)));
        stopClicking();
    }
}

}  // namespace
