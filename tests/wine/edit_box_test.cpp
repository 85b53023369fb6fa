// The interval box: its start state, the integer-only keyboard, unfiltered pasting, the line of
// text centred in its frame, and the colours it answers.
#include <gtest/gtest.h>

#include <windows.h>
#include <windowsx.h>

#include <cstring>
#include <string>

#include "support.h"

namespace {

std::wstring textOf(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void type(HWND box, std::wstring_view keys)
{
    for (wchar_t c : keys)
        SendMessageW(box, WM_CHAR, c, 1);
}

bool putOnClipboard(HWND owner, const std::wstring& text)
{
    if (!OpenClipboard(owner))
        return false;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    const bool put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    return put;
}

class IntervalBox : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(loaded_.loaded());
        box_ = loaded_.control(EventSource::计时编辑框);
        ASSERT_TRUE(box_);
    }
    void clear()
    {
        SetWindowTextW(box_, L"");
        SendMessageW(box_, EM_SETSEL, 0, 0);
    }

    LoadedMainWindow loaded_;
    HWND box_ = nullptr;
};

TEST_F(IntervalBox, StartsWith1000RightAlignedWithTheCaretBeforeTheFirstCharacter)
{
    EXPECT_EQ(textOf(box_), L"1000");
    wchar_t className[16] = {};
    GetClassNameW(box_, className, 16);
    EXPECT_EQ(lstrcmpiW(className, L"Edit"), 0);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(box_, GWL_STYLE));
    EXPECT_EQ(style & ES_RIGHT, static_cast<DWORD>(ES_RIGHT));
    EXPECT_EQ(style & ES_AUTOHSCROLL, static_cast<DWORD>(ES_AUTOHSCROLL));
    EXPECT_EQ(style & WS_TABSTOP, static_cast<DWORD>(WS_TABSTOP));
    EXPECT_EQ(style & (ES_MULTILINE | ES_NOHIDESEL | ES_UPPERCASE | ES_LOWERCASE | ES_NUMBER), 0u);
    EXPECT_EQ(GetWindowLongPtrW(box_, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);

    DWORD start = 99, end = 99;
    SendMessageW(box_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 0u);
    // No limit of its own: EM_LIMITTEXT with 0 leaves the system's maximum.
    EXPECT_EQ(SendMessageW(box_, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(box_, WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));

    // 24 pixels high is enough for its font: the box keeps the form's rectangle.
    RECT r{};
    GetWindowRect(box_, &r);
    MapWindowPoints(nullptr, loaded_.window(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 704);
    EXPECT_EQ(r.top, 32);
    EXPECT_EQ(r.right - r.left, 40);
    EXPECT_EQ(r.bottom - r.top, 24);
}

TEST_F(IntervalBox, TypingKeepsOnlyDigitsAndMinusSigns)
{
    struct Case {
        const wchar_t* typed;
        const wchar_t* kept;
    };
    const Case cases[] = {
        {L"12a3", L"123"},
        {L"-5", L"-5"},
        {L"1-2", L"1-2"},
        {L"--7-", L"--7-"},
        {L"0123456789", L"0123456789"},
        {L"a b.c+,", L""},
        {L"1.5e3", L"153"},
        {L"\uFF11\uFF12", L""},
        {L"\u300050", L"50"},
        {L"x0x1F", L"01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "typed " << testing::PrintToString(std::wstring(c.typed)));
        clear();
        type(box_, c.typed);
        EXPECT_EQ(textOf(box_), c.kept);
    }
}

TEST_F(IntervalBox, BackspaceAndTheClipboardKeysPassAndPastedTextIsNotFiltered)
{
    clear();
    type(box_, L"123");
    type(box_, L"\b");
    EXPECT_EQ(textOf(box_), L"12");

    // Ctrl+V, Ctrl+X and Ctrl+C arrive as control codes and reach the edit control.
    ASSERT_TRUE(putOnClipboard(loaded_.window(), L"abc"));
    type(box_, L"\x16");
    EXPECT_EQ(textOf(box_), L"12abc");
    SendMessageW(box_, EM_SETSEL, 0, -1);
    type(box_, L"\x18");
    EXPECT_EQ(textOf(box_), L"");
    SendMessageW(box_, WM_PASTE, 0, 0);
    EXPECT_EQ(textOf(box_), L"12abc");
    SendMessageW(box_, EM_SETSEL, 2, 5);
    type(box_, L"\x03");
    SendMessageW(box_, EM_SETSEL, 0, -1);
    SendMessageW(box_, WM_PASTE, 0, 0);
    EXPECT_EQ(textOf(box_), L"abc");

    ASSERT_TRUE(putOnClipboard(loaded_.window(), L" x-9.5"));
    SendMessageW(box_, WM_PASTE, 0, 0);
    EXPECT_EQ(textOf(box_), L"abc x-9.5");
}

TEST_F(IntervalBox, SetTextIsNotFiltered)
{
    for (const wchar_t* text : {L"abc", L" 50", L"\uFF11\uFF12\uFF13", L"12abc", L""}) {
        SetWindowTextW(box_, text);
        EXPECT_EQ(textOf(box_), text);
    }
}

TEST_F(IntervalBox, TheLineOfTextIsCentredVerticallyInTheFrame)
{
    HDC dc = GetDC(box_);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box_, WM_GETFONT, 0, 0)));
    SIZE w{};
    GetTextExtentPoint32W(dc, L"W", 1, &w);
    SelectObject(dc, previous);
    ReleaseDC(box_, dc);
    ASSERT_GT(w.cy, 0);

    RECT client{}, outer{};
    GetClientRect(box_, &client);
    GetWindowRect(box_, &outer);
    POINT clientTopLeft{0, 0};
    ClientToScreen(box_, &clientTopLeft);
    EXPECT_EQ(client.bottom - client.top, w.cy);

    // Inside the sunken edge, the line sits with equal room above and below (the odd pixel below).
    const int edge = GetSystemMetrics(SM_CYEDGE);
    const int inner = (outer.bottom - outer.top) - 2 * edge;
    EXPECT_EQ(clientTopLeft.y - outer.top, edge + (inner - w.cy) / 2);
    EXPECT_EQ(clientTopLeft.x - outer.left, GetSystemMetrics(SM_CXEDGE));
    EXPECT_EQ(client.right - client.left, (outer.right - outer.left) - 2 * GetSystemMetrics(SM_CXEDGE));
}

TEST_F(IntervalBox, APointOutsideTheNarrowedClientAreaIsItsBorder)
{
    RECT outer{};
    GetWindowRect(box_, &outer);
    RECT client{};
    GetClientRect(box_, &client);
    MapWindowPoints(box_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    ASSERT_GT(client.top, outer.top + GetSystemMetrics(SM_CYEDGE)) << "the client area was not narrowed";
    const int midX = (client.left + client.right) / 2;
    struct Case {
        POINT at;
        LRESULT hit;
    };
    const Case cases[] = {
        {{outer.left, outer.top}, HTBORDER},  // the sunken edge
        {{midX, client.top - 1}, HTBORDER},   // the band above the line
        {{midX, client.bottom}, HTBORDER},    // the band below the line
        {{outer.right - 1, outer.bottom - 1}, HTBORDER},
        {{midX, (client.top + client.bottom) / 2}, HTCLIENT},
        {{client.left, client.top}, HTCLIENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "at " << c.at.x << "," << c.at.y);
        EXPECT_EQ(SendMessageW(box_, WM_NCHITTEST, 0, MAKELPARAM(c.at.x, c.at.y)), c.hit);
    }
}

TEST_F(IntervalBox, AnswersBlackOnWhiteWithItsOwnBrushWhenTheMainWindowIsAskedForItsColours)
{
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(255, 0, 0));
    SetBkColor(dc, RGB(0, 255, 0));
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(loaded_.window(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(box_)));
    ASSERT_TRUE(brush);
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    LOGBRUSH lb{};
    ASSERT_EQ(GetObjectW(brush, sizeof lb, &lb), static_cast<int>(sizeof lb));
    EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(lb.lbColor, RGB(255, 255, 255));
    // The same brush every time: nothing is made per request.
    const auto again = reinterpret_cast<HBRUSH>(
        SendMessageW(loaded_.window(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(box_)));
    EXPECT_EQ(again, brush);
    DeleteDC(dc);
}

}  // namespace
