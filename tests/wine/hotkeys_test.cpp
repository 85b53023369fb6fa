// Hotkey registration and delivery: identifiers, refusals, the single receiver and intercepted
// window, WM_FEEDBACK for issued identifiers only, and onHotkeyFeedback on the program variables.
#include <gtest/gtest.h>

#include <windows.h>

#include <thread>
#include <vector>

#include "app/form_access.h"
#include "clicker/click_controller.h"
#include "clicker/interval_timer.h"
#include "hotkeys/hotkeys.h"
#include "support.h"

namespace {

// Keys nothing else on the desktop uses.
constexpr std::int32_t kCtrlAlt = 5;  // this program's modifier code
constexpr UINT kModCtrlAlt = MOD_CONTROL | MOD_ALT;

struct SeenFeedback {
    HWND window;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const SeenFeedback&) const = default;
};
std::vector<SeenFeedback> feedbackSeen;
HotkeyRegistry* targetRegistry = nullptr;  // the registry that test windows report WM_HOTKEY to

// Receivers record WM_FEEDBACK; targets hand WM_HOTKEY to the registry under test first, as
// MainWindow does with the program's registry.
LRESULT CALLBACK testWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_FEEDBACK) {
        feedbackSeen.push_back({window, wParam, lParam});
        return 0;
    }
    if (message == WM_HOTKEY && targetRegistry)
        targetRegistry->interceptHotkey(window, wParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND createTestWindow()
{
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = testWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TavriloTestHotkeyWindow";
        return RegisterClassW(&wc);
    }();
    return atom ? CreateWindowExW(0, L"TavriloTestHotkeyWindow", L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr)
                : nullptr;
}

// A window on a thread of its own that holds hotkeys, as another program would.
class OtherThreadsWindow {
public:
    OtherThreadsWindow()
    {
        ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this] {
            MSG msg;
            PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
            threadId_ = GetCurrentThreadId();
            window_ = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
            SetEvent(ready_);
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                if (msg.message == WM_APP) {  // register (wParam: modifiers, lParam: key), answer by event
                    registered_ = RegisterHotKey(window_, ++nextId_, static_cast<UINT>(msg.wParam),
                                                 static_cast<UINT>(msg.lParam)) != FALSE;
                    SetEvent(ready_);
                    continue;
                }
                DispatchMessageW(&msg);
            }
            DestroyWindow(window_);
        });
        WaitForSingleObject(ready_, 10000);
    }
    ~OtherThreadsWindow()
    {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
        CloseHandle(ready_);
    }
    // RegisterHotKey on that thread's window; true when Windows accepted it.
    bool registerKey(UINT modifiers, UINT key)
    {
        ResetEvent(ready_);
        PostThreadMessageW(threadId_, WM_APP, modifiers, key);
        WaitForSingleObject(ready_, 10000);
        return registered_;
    }

private:
    std::thread thread_;
    HANDLE ready_ = nullptr;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
    int nextId_ = 0;
    bool registered_ = false;
};

class HotkeyRegistryTest : public testing::Test {
protected:
    void SetUp() override
    {
        feedbackSeen.clear();
        for (HWND* w : {&target_, &otherTarget_, &receiver_, &otherReceiver_})
            ASSERT_TRUE(*w = createTestWindow());
        targetRegistry = &registry_;
    }
    void TearDown() override
    {
        targetRegistry = nullptr;
        // Windows drops a window's hotkeys with the window.
        for (HWND w : {target_, otherTarget_, receiver_, otherReceiver_})
            DestroyWindow(w);
        pumpWaitingMessages();
    }

    HotkeyRegistry registry_;  // a fresh one: the program's own stays untouched
    HWND target_ = nullptr, otherTarget_ = nullptr, receiver_ = nullptr, otherReceiver_ = nullptr;
};

TEST_F(HotkeyRegistryTest, IdentifiersCountUpFrom33001)
{
    EXPECT_EQ(registry_.lastHotkeyId(), 0u);
    EXPECT_EQ(registry_.registerHotkey(target_, receiver_, kCtrlAlt, VK_F13), 33001);
    EXPECT_EQ(registry_.registerHotkey(target_, receiver_, kCtrlAlt, VK_F14), 33002);
    EXPECT_EQ(registry_.registerHotkey(target_, receiver_, kCtrlAlt, VK_F16), 33003);
    EXPECT_EQ(registry_.lastHotkeyId(), 33003u);
    // Registered on the target under those identifiers: freeing them by identifier succeeds.
    EXPECT_TRUE(UnregisterHotKey(target_, 33002));
    EXPECT_FALSE(UnregisterHotKey(target_, 33004));
}

TEST_F(HotkeyRegistryTest, ARefusedKeyAnswersZeroAndStillUsesUpItsNumber)
{
    OtherThreadsWindow other;
    ASSERT_TRUE(other.registerKey(kModCtrlAlt, VK_F15));
    EXPECT_EQ(registry_.registerHotkey(target_, receiver_, kCtrlAlt, VK_F14), 33001);
    EXPECT_EQ(registry_.registerHotkey(target_, receiver_, kCtrlAlt, VK_F15), 0);
    EXPECT_EQ(registry_.registerHotkey(target_, receiver_, kCtrlAlt, VK_F16), 33003);
    EXPECT_EQ(registry_.lastHotkeyId(), 33003u);
    // The refused number is still an issued one: its WM_HOTKEY would be passed on.
    registry_.interceptHotkey(target_, 33002);
    EXPECT_EQ(feedbackSeen, (std::vector<SeenFeedback>{{receiver_, 33002, 0}}));
}

TEST_F(HotkeyRegistryTest, ModifierCodesBecomeWindowsModifierFlags)
{
    OtherThreadsWindow other;
    struct Case {
        std::int32_t code;
        UINT flags;
    };
    const Case cases[] = {{0, 0},
                          {1, MOD_CONTROL},
                          {2, MOD_SHIFT},
                          {3, MOD_CONTROL | MOD_SHIFT},
                          {4, MOD_ALT},
                          {5, MOD_CONTROL | MOD_ALT},
                          {6, MOD_SHIFT | MOD_ALT},
                          {7, MOD_ALT | MOD_CONTROL | MOD_SHIFT}};  // any other code passes as it is
    UINT key = VK_F16;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "modifier code " << c.code);
        // Each code on a key of its own, so the earlier registrations are not in the way.
        ++key;
        ASSERT_NE(registry_.registerHotkey(target_, receiver_, c.code, static_cast<std::int32_t>(key)), 0);
        // Exactly those flags are taken now; a neighbouring combination is still free.
        EXPECT_FALSE(other.registerKey(c.flags, key));
        EXPECT_TRUE(other.registerKey(c.flags ^ MOD_SHIFT, key));
    }
}

TEST_F(HotkeyRegistryTest, TheLatestCallNamesTheReceiverAndOnlyTheFirstTargetIsIntercepted)
{
    EXPECT_EQ(registry_.registerHotkey(target_, receiver_, kCtrlAlt, VK_F13), 33001);
    EXPECT_EQ(registry_.registerHotkey(otherTarget_, otherReceiver_, kCtrlAlt, VK_F14), 33002);
    EXPECT_EQ(registry_.receiverWindow(), otherReceiver_);
    EXPECT_EQ(registry_.interceptedWindow(), target_);

    registry_.interceptHotkey(target_, 33001);
    registry_.interceptHotkey(otherTarget_, 33002);
    // Both hotkeys reach the latest receiver, and only through the first target.
    EXPECT_EQ(feedbackSeen, (std::vector<SeenFeedback>{{otherReceiver_, 33001, 0}}));
    feedbackSeen.clear();
    registry_.interceptHotkey(target_, 33002);
    EXPECT_EQ(feedbackSeen, (std::vector<SeenFeedback>{{otherReceiver_, 33002, 0}}));
}

TEST_F(HotkeyRegistryTest, InterceptionSendsOneFeedbackForEachIssuedIdentifierOnly)
{
    registry_.interceptHotkey(target_, 33001);
    EXPECT_TRUE(feedbackSeen.empty()) << "nothing is issued yet";

    for (UINT key : {VK_F13, VK_F14, VK_F16})
        registry_.registerHotkey(target_, receiver_, kCtrlAlt, static_cast<std::int32_t>(key));
    struct Case {
        WPARAM id;
        bool notified;
    };
    const Case cases[] = {{0, false},          {1, false},     {33000, false},
                          {33001, true},       {33002, true},  {33003, true},
                          {33004, false},      {65535, false}, {0x80000000u + 33001, false},
                          {0xFFFFFFFFu, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "WM_HOTKEY " << c.id);
        feedbackSeen.clear();
        registry_.interceptHotkey(target_, c.id);
        if (c.notified)
            EXPECT_EQ(feedbackSeen, (std::vector<SeenFeedback>{{receiver_, c.id, 0}}));
        else
            EXPECT_TRUE(feedbackSeen.empty());
        // Another window's WM_HOTKEY is never ours.
        feedbackSeen.clear();
        registry_.interceptHotkey(receiver_, c.id);
        EXPECT_TRUE(feedbackSeen.empty());
    }
}

TEST_F(HotkeyRegistryTest, APressOfARegisteredKeyReachesTheReceiver)
{
    const std::int32_t id = registry_.registerHotkey(target_, receiver_, kCtrlAlt, VK_F13);
    ASSERT_EQ(id, 33001);
    pumpWaitingMessages();
    feedbackSeen.clear();
    auto key = [](BYTE vk, DWORD flags) {
        keybd_event(vk, static_cast<BYTE>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)), flags, 0);
    };
    key(VK_CONTROL, 0);
    key(VK_MENU, 0);
    key(VK_F13, 0);
    key(VK_F13, KEYEVENTF_KEYUP);
    key(VK_MENU, KEYEVENTF_KEYUP);
    key(VK_CONTROL, KEYEVENTF_KEYUP);
    pumpUntil([] { return !feedbackSeen.empty(); }, 3000);
    pumpFor(100);
    EXPECT_EQ(feedbackSeen, (std::vector<SeenFeedback>{{receiver_, 33001, 0}}));
}

// onHotkeyFeedback on the program variables, with the loaded window for the click controller.
class HotkeyFeedback : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(loaded_.loaded());
        savedStart_ = startHotkeyId;
        savedStop_ = stopHotkeyId;
        isRunning = clickX = clickY = 0;
        startHotkeyId = 33001;
        stopHotkeyId = 33002;
    }
    void TearDown() override
    {
        if (loaded_.window())
            stopClicking();
        isRunning = clickX = clickY = 0;
        startHotkeyId = savedStart_;
        stopHotkeyId = savedStop_;
    }
    IntervalTimer* timer() const { return IntervalTimer::from(loaded_.control(EventSource::时钟1)); }
    void moveWindowTo(int x, int y)
    {
        SetWindowPos(loaded_.window(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    LoadedMainWindow loaded_;
    std::int32_t savedStart_ = 0, savedStop_ = 0;
};

TEST_F(HotkeyFeedback, TheStartIdentifierStartsAndTheStopIdentifierStops)
{
    moveWindowTo(100, 50);
    onHotkeyFeedback(33001, 0);
    EXPECT_EQ(isRunning, 1);
    EXPECT_EQ(clickX, 410);
    EXPECT_EQ(clickY, 650);
    EXPECT_EQ(timer()->period(), 1000);

    // Any other identifier runs neither: had start run, the point would follow the window.
    moveWindowTo(200, 60);
    for (std::int32_t other : {0, 33000, 33003, -1, 1}) {
        SCOPED_TRACE(testing::Message() << "identifier " << other);
        onHotkeyFeedback(other, 0);
        EXPECT_EQ(isRunning, 1);
        EXPECT_EQ(clickX, 410);
        EXPECT_EQ(timer()->period(), 1000);
    }

    onHotkeyFeedback(33002, 0);
    EXPECT_EQ(isRunning, 0);
    EXPECT_EQ(timer()->period(), 0);
    EXPECT_EQ(clickX, 410);

    // Both refused (both 0): the identifier 0 would run start and then stop.
    startHotkeyId = stopHotkeyId = 0;
    onHotkeyFeedback(0, 0);
    EXPECT_EQ(clickX, 510) << "start did not run";
    EXPECT_EQ(isRunning, 0) << "stop did not run after start";
    EXPECT_EQ(timer()->period(), 0);
}

TEST_F(HotkeyFeedback, TheExtraValueIsNotRead)
{
    onHotkeyFeedback(33001, 12345);
    EXPECT_EQ(isRunning, 1);
    onHotkeyFeedback(33002, -1);
    EXPECT_EQ(isRunning, 0);
}

// The whole road inside the program: the created handler registers F10 and F11 on MainWindow
// with the program's registry, and a WM_HOTKEY to MainWindow runs the click controller through
// 标签4. The program's registry can serve only one MainWindow in a process, so this is the one
// test that uses it.
TEST(ProgramHotkeys, CreatedRegistersF10AndF11AndTheirWmHotkeyStartsAndStops)
{
    const std::int32_t savedStart = startHotkeyId, savedStop = stopHotkeyId;
    ASSERT_EQ(hotkeyRegistry().lastHotkeyId(), 0u) << "the program's registry was used before";
    {
        LoadedMainWindow loaded({onMainWindowCreated, startClicking, stopClicking, recordTick, onHotkeyFeedback});
        ASSERT_TRUE(loaded.loaded());
        EXPECT_EQ(startHotkeyId, 33001);
        EXPECT_EQ(stopHotkeyId, 33002);
        EXPECT_EQ(hotkeyRegistry().interceptedWindow(), loaded.window());
        EXPECT_EQ(hotkeyRegistry().receiverWindow(), loaded.control(EventSource::标签4));
        // F10 and F11 without modifiers are taken now.
        {
            OtherThreadsWindow other;
            EXPECT_FALSE(other.registerKey(0, VK_F10));
            EXPECT_FALSE(other.registerKey(0, VK_F11));
        }

        isRunning = 0;
        PostMessageW(loaded.window(), WM_HOTKEY, 33001, MAKELPARAM(0, VK_F10));
        pumpUntil([] { return isRunning == 1; }, 2000);
        EXPECT_EQ(isRunning, 1);
        EXPECT_EQ(IntervalTimer::from(loaded.control(EventSource::时钟1))->period(), 1000);
        PostMessageW(loaded.window(), WM_HOTKEY, 33002, MAKELPARAM(0, VK_F11));
        pumpUntil([] { return isRunning == 0; }, 2000);
        EXPECT_EQ(isRunning, 0);
        EXPECT_EQ(IntervalTimer::from(loaded.control(EventSource::时钟1))->period(), 0);
    }
    // Gone with the window: the keys are free again.
    {
        OtherThreadsWindow other;
        EXPECT_TRUE(other.registerKey(0, VK_F10));
        EXPECT_TRUE(other.registerKey(0, VK_F11));
    }
    isRunning = clickX = clickY = 0;
    startHotkeyId = savedStart;
    stopHotkeyId = savedStop;
}

}  // namespace
