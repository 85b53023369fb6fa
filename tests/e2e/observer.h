// What a bystander sees of Tavrilo: every mouse button event on the desktop, a hotkey held by
// another program, and a window of another program that has the keyboard focus. Each lives on
// a thread of its own with its own message loop, so the test's thread may wait and sleep freely.
// Also the few clicks, keys and checks that the clicking and hotkey tests share.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

// Milliseconds on the performance counter: one clock for the test and the observers.
double nowMs();

// One button event as the low-level mouse hook saw it.
struct ButtonEvent {
    UINT message = 0;      // WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN or WM_RBUTTONUP
    POINT pt{};            // screen point of the event
    DWORD flags = 0;       // the hook's flags: LLMHF_INJECTED for synthetic input
    DWORD hookTime = 0;    // the hook's own time stamp (tick count)
    double atMs = 0;       // nowMs() when the hook ran
    ULONG_PTR extraInfo = 0;  // the injector's extra information: kTestClickMark for the test's own

    bool injected() const { return (flags & LLMHF_INJECTED) != 0; }
};

// Carried by the test's own clicks, so that they are told apart from the program's (which pass 0).
constexpr ULONG_PTR kTestClickMark = 0x7E57C11C;

// Records every mouse button event of the desktop through a WH_MOUSE_LL hook. One at a time.
// The first one of the process also waits for Wine's desktop to be up (see observer.cpp).
class MouseObserver {
public:
    MouseObserver();
    ~MouseObserver();
    MouseObserver(const MouseObserver&) = delete;
    MouseObserver& operator=(const MouseObserver&) = delete;

    bool installed() const { return hook_ != nullptr; }

    std::vector<ButtonEvent> snapshot() const;
    void clear();
    // Waits until at least `count` recorded events satisfy `filter` (all events when empty);
    // true when they did within `timeoutMs`.
    bool waitForCount(std::size_t count, DWORD timeoutMs,
                      const std::function<bool(const ButtonEvent&)>& filter = {}) const;

private:
    static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam);
    void run();

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<ButtonEvent> events_;
    HHOOK hook_ = nullptr;
    bool ready_ = false;
    DWORD threadId_ = 0;
    std::thread thread_;
};

// The events at one screen point, in the order they came.
std::vector<ButtonEvent> eventsAt(const std::vector<ButtonEvent>& events, POINT pt);
// The events at any other point.
std::vector<ButtonEvent> eventsNotAt(const std::vector<ButtonEvent>& events, POINT pt);
// Only the events that came at or after `fromMs` (and before `toMs`).
std::vector<ButtonEvent> eventsBetween(const std::vector<ButtonEvent>& events, double fromMs,
                                       double toMs = 1e300);

// One line per event, times relative to `originMs`: for the message of a failed check.
std::string describe(const std::vector<ButtonEvent>& events, double originMs, std::size_t limit = 40);

// The double clicks the program made at one point: the events there split into groups of four.
struct ClickTicks {
    std::vector<double> atMs;  // time of each tick's first event
    std::string fault;         // empty when every event at the point belongs to a whole
                               // left-down, left-up, left-down, left-up group, all injected
    bool ok() const { return fault.empty(); }
    std::size_t count() const { return atMs.size(); }
    // Mean time between consecutive ticks; 0 with fewer than two.
    double meanIntervalMs() const;
};
ClickTicks doubleClickTicks(const std::vector<ButtonEvent>& events, POINT pt);

// Where Tavrilo clicks for a window: its outer top-left corner + (310, 600), as it is now.
POINT clickPointOf(HWND mainWindow);
POINT centreOf(HWND window);
bool samePoint(POINT a, POINT b);
std::string toString(POINT pt);

// A left click at `at` whose two button events carry the position themselves, so that the
// program moving the pointer between them cannot divert the click. Returns the time at which
// the observer saw the release, or a negative value if it did not see it.
double clickFirmly(const MouseObserver& observer, POINT at);
inline double pressButton(const MouseObserver& observer, HWND button)
{
    return clickFirmly(observer, centreOf(button));
}

// One key going down or up through the system's input stream, on its own: a held key repeats
// its key-down without a key-up in between.
void sendKey(WORD vk, bool up);

// Sleeps until nowMs() reaches `ms`.
void sleepUntil(double ms);

// From a key press to the program's handling of it: a tick already underway may still finish.
constexpr double kStopGrace = 250;

// No button event at `point` between `fromMs` and `toMs`.
::testing::AssertionResult noEventsAt(const std::vector<ButtonEvent>& events, POINT point, double fromMs,
                                      double toMs = 1e300);
// The number of whole double clicks at `point` that began between `fromMs` and `toMs`.
std::size_t ticksBetween(const std::vector<ButtonEvent>& events, POINT point, double fromMs, double toMs);

// The time of the first tick at `point` that begins at or after `afterMs` (not the rest of one
// underway then), once all its four events have come; a negative value if none came within
// `timeoutMs`.
double waitForTick(const MouseObserver& observer, POINT point, double afterMs, DWORD timeoutMs);

// Another program's hold on a hotkey: a hidden window on its own thread registers the key and
// counts the WM_HOTKEY messages it receives.
class HotkeyHolder {
public:
    HotkeyHolder(UINT modifiers, UINT virtualKey, int id = 1);
    ~HotkeyHolder();
    HotkeyHolder(const HotkeyHolder&) = delete;
    HotkeyHolder& operator=(const HotkeyHolder&) = delete;

    bool registered() const { return registered_; }
    int presses() const;
    bool waitForPresses(int count, DWORD timeoutMs) const;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void run(UINT modifiers, UINT virtualKey, int id);

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    int presses_ = 0;
    bool ready_ = false;
    bool registered_ = false;
    HWND window_ = nullptr;
    std::thread thread_;
};

// A key as a window of the test process received it.
struct KeyMessage {
    UINT message = 0;  // WM_KEYDOWN or WM_SYSKEYDOWN
    UINT key = 0;      // virtual key
};

// A visible top-level window of another program (the test's): it can take the foreground and
// records the key-down messages that reach it.
class FocusWindow {
public:
    FocusWindow();
    ~FocusWindow();
    FocusWindow(const FocusWindow&) = delete;
    FocusWindow& operator=(const FocusWindow&) = delete;

    HWND window() const { return window_; }
    // Makes the window the foreground window with the keyboard focus; true when it is.
    bool bringToFront() const;
    bool isForeground() const { return GetForegroundWindow() == window_; }

    std::vector<KeyMessage> keys() const;
    void clear();
    // Waits until a key-down of `key` has arrived.
    bool waitForKey(UINT key, DWORD timeoutMs) const;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void run();

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<KeyMessage> keys_;
    bool ready_ = false;
    HWND window_ = nullptr;
    std::thread thread_;
};

}  // namespace e2e
