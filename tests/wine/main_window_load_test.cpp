// Loading MainWindow: what exists when the created event runs, what is held while the window is
// built, and where and how the window and its controls end up.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/centring.h"
#include "app/form_access.h"
#include "app/shell.h"
#include "clicker/interval_timer.h"
#include "support.h"

namespace {

std::wstring classOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// Watches the windows of the build as Windows creates them, and pokes at the event delivery
// from inside the build: whatever is raised or sent then must be held.
class BuildWatcher {
public:
    struct Creation {
        std::wstring className;
        DWORD style;
        DWORD exStyle;
        int holdCount;
        bool raisedClickWasHandled;
    };

    BuildWatcher()
    {
        active_ = this;
        hook_ = SetWindowsHookExW(WH_CBT, hookProc, nullptr, GetCurrentThreadId());
    }
    ~BuildWatcher()
    {
        UnhookWindowsHookEx(hook_);
        active_ = nullptr;
    }
    bool installed() const { return hook_ != nullptr; }

    std::vector<Creation> creations;
    int feedbackSentDuringBuild = 0;
    HWND label4 = nullptr;

private:
    static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND && active_)
            active_->onCreate(reinterpret_cast<HWND>(wParam), reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    void onCreate(HWND window, const CREATESTRUCTW* cs)
    {
        const bool isMain = classOf(window) == L"TavriloMainWindow";
        const bool isControl =
            (cs->style & WS_CHILD) && cs->hwndParent && classOf(cs->hwndParent) == L"TavriloMainWindow";
        if (!isMain && !isControl)
            return;
        // A button click raised while the window is half built: it must reach no handler.
        const EventResult clicked = raiseEvent(EventSource::点击, ButtonEvent::clicked);
        creations.push_back({classOf(window), static_cast<DWORD>(cs->style), cs->dwExStyle,
                             programEvents().eventHoldCount(), clicked.handled});
        // Once 标签4 exists (controls come last record first), send and post it hotkey feedback.
        if (!isMain && !label4) {
            if (HWND label = GetDlgItem(cs->hwndParent, 1005)) {
                label4 = label;
                SendMessageW(label, WM_FEEDBACK, 4242, 1);
                PostMessageW(label, WM_FEEDBACK, 4343, 2);
                feedbackSentDuringBuild = 2;
            }
        }
    }

    HHOOK hook_ = nullptr;
    static inline BuildWatcher* active_ = nullptr;
};

TEST(MainWindowLoad, CreatedRunsOnceWithEveryControlInPlaceBeforeTheWindowIsShown)
{
    LoadedMainWindow loaded;
    ASSERT_TRUE(loaded.loaded());
    const HandlerLog& log = handlerLog();
    ASSERT_EQ(log.count("created"), 1);
    ASSERT_EQ(log.created.size(), 1u);
    const CreatedSnapshot& seen = log.created[0];

    EXPECT_EQ(seen.main, loaded.window());
    EXPECT_TRUE(IsWindow(seen.main));
    EXPECT_FALSE(seen.mainVisible) << "the window must still be hidden while the created handler runs";
    EXPECT_EQ(seen.mainStyle & WS_VISIBLE, 0u);
    for (EventSource name : recordOrder(loaded.form())) {
        const auto index = static_cast<std::size_t>(name);
        SCOPED_TRACE(testing::Message() << "control " << index);
        HWND control = seen.controls[index];
        ASSERT_TRUE(control && IsWindow(control));
        EXPECT_EQ(GetParent(control), seen.main);
        // Child ids are 1001 + the record index.
        EXPECT_EQ(GetDlgCtrlID(control), static_cast<int>(1000 + index));
    }
    EXPECT_EQ(seen.controls[static_cast<std::size_t>(EventSource::标签4)], GetDlgItem(seen.main, 1005));

    // Shown only after the handler has run, and the handler did not run again.
    EXPECT_TRUE(IsWindowVisible(loaded.window()));
    pumpFor(50);
    EXPECT_EQ(handlerLog().count("created"), 1);
}

TEST(MainWindowLoad, EventsRaisedWhileTheWindowIsBuiltAreHeld)
{
    BuildWatcher watcher;
    ASSERT_TRUE(watcher.installed());
    LoadedMainWindow loaded;
    ASSERT_TRUE(loaded.loaded());

    // The main window and its twelve controls, each created with events held once.
    ASSERT_EQ(watcher.creations.size(), 13u);
    EXPECT_EQ(watcher.creations[0].className, L"TavriloMainWindow");
    for (const BuildWatcher::Creation& c : watcher.creations) {
        SCOPED_TRACE(testing::Message() << "creating a window of class "
                                        << std::string(c.className.begin(), c.className.end()));
        EXPECT_EQ(c.holdCount, 1);
        EXPECT_FALSE(c.raisedClickWasHandled);
    }
    ASSERT_EQ(watcher.feedbackSentDuringBuild, 2);

    // Neither the click raised during the build nor the feedback sent or posted then reached a
    // handler; the posted one was taken from the queue during the build, not kept for later.
    MSG left;
    EXPECT_FALSE(PeekMessageW(&left, watcher.label4, WM_FEEDBACK, WM_FEEDBACK, PM_NOREMOVE));
    pumpFor(50);
    EXPECT_EQ(handlerLog().order, std::vector<std::string>{"created"});
    EXPECT_TRUE(handlerLog().feedback.empty());

    // Once loaded, events flow again.
    EXPECT_EQ(programEvents().eventHoldCount(), 0);
    SendMessageW(loaded.control(EventSource::标签4), WM_FEEDBACK, 7, 8);
    EXPECT_EQ(handlerLog().feedback, (std::vector<std::pair<std::int32_t, std::int32_t>>{{7, 8}}));
}

TEST(MainWindowLoad, ControlsAreStackedInRecordOrderAndOnlyTheTimerIsHidden)
{
    LoadedMainWindow loaded;
    ASSERT_TRUE(loaded.loaded());
    const std::vector<EventSource> order = recordOrder(loaded.form());

    std::vector<HWND> expected, stacked;
    for (EventSource name : order)
        expected.push_back(loaded.control(name));
    for (HWND c = GetWindow(loaded.window(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        stacked.push_back(c);
    EXPECT_EQ(stacked, expected);

    struct Kind {
        EventSource name;
        const wchar_t* className;
        bool visible;
    };
    const Kind kinds[] = {
        {EventSource::标签7, L"TavriloLabel", true}, {EventSource::标签6, L"TavriloLabel", true},
        {EventSource::标签5, L"TavriloLabel", true}, {EventSource::标签2, L"TavriloLabel", true},
        {EventSource::标签4, L"TavriloLabel", true}, {EventSource::停止按钮, L"Button", true},
        {EventSource::标签3, L"TavriloLabel", true}, {EventSource::标签1, L"TavriloLabel", true},
        {EventSource::计时编辑框, L"Edit", true},    {EventSource::时钟1, L"TavriloTimer", false},
        {EventSource::点击, L"Button", true},        {EventSource::超文本浏览框1, L"TavriloWebPagePane", true},
    };
    ASSERT_EQ(std::size(kinds), order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "record " << i);
        EXPECT_EQ(order[i], kinds[i].name);
        HWND c = loaded.control(kinds[i].name);
        EXPECT_EQ(classOf(c), kinds[i].className);
        EXPECT_EQ(IsWindowVisible(c) != FALSE, kinds[i].visible);
        EXPECT_EQ((GetWindowLongPtrW(c, GWL_STYLE) & WS_CLIPSIBLINGS) != 0, true);
    }
}

TEST(MainWindowLoad, WindowIs800By800CentredWithAFixedFrame)
{
    BuildWatcher watcher;
    LoadedMainWindow loaded;
    ASSERT_TRUE(loaded.loaded());
    HWND w = loaded.window();

    RECT outer{};
    GetWindowRect(w, &outer);
    EXPECT_EQ(outer.right - outer.left, 800);
    EXPECT_EQ(outer.bottom - outer.top, 800);
    const ScreenPoint at = centredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), 800, 800);
    EXPECT_EQ(outer.left, at.x);
    EXPECT_EQ(outer.top, at.y);

    // Asked for exactly: overlapped, caption, system menu, minimise box, clip children.
    ASSERT_FALSE(watcher.creations.empty());
    EXPECT_EQ(watcher.creations[0].style, 0x02CA0000u);
    // Windows adds WS_EX_WINDOWEDGE to a window with a caption by itself.
    EXPECT_EQ(watcher.creations[0].exStyle & ~WS_EX_WINDOWEDGE, 0u);
    // Windows itself adds WS_CLIPSIBLINGS to every top-level window; showing adds WS_VISIBLE.
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(w, GWL_STYLE));
    EXPECT_EQ(style & ~(WS_CLIPSIBLINGS | WS_VISIBLE), 0x02CA0000u);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0u);

    wchar_t caption[32] = {};
    GetWindowTextW(w, caption, 32);
    EXPECT_STREQ(caption, L"Tavrilo");
    EXPECT_NE(SendMessageW(w, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageW(w, WM_GETICON, ICON_SMALL, 0), 0);
}

TEST(MainWindowLoad, DestroyingTheWindowTakesItsControlsAndPostsQuitWithZero)
{
    LoadedMainWindow loaded;
    ASSERT_TRUE(loaded.loaded());
    pumpWaitingMessages();
    HWND main = loaded.window();
    HWND timerWindow = loaded.control(EventSource::时钟1);
    IntervalTimer::from(timerWindow)->setPeriod(30);
    HWND label4 = loaded.control(EventSource::标签4);

    DestroyWindow(main);
    MSG quit{};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "one WM_QUIT only";
    EXPECT_FALSE(IsWindow(timerWindow));
    EXPECT_FALSE(IsWindow(label4));
    EXPECT_EQ(mainWindowHandle(), nullptr);
    EXPECT_EQ(controlWindow(EventSource::标签4), nullptr);
    handlerLog() = {};
    pumpFor(100);
    EXPECT_TRUE(handlerLog().order.empty()) << "a tick after the window was gone";
}

}  // namespace
