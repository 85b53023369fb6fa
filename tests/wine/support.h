// What the in-process tests share: message pumping, a MainWindow built from the program's own
// form with recording handlers, plain windows of our own, and a low-level mouse hook that sees
// the input the program injects.
#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/events.h"
#include "app/form.h"

// Dispatches what waits in this thread's queue, without waiting. The WM_QUIT that MainWindow
// posts when it is destroyed is dropped here, so it cannot end a later test's loop.
void pumpWaitingMessages();
// Dispatches messages for about `ms` milliseconds.
void pumpFor(DWORD ms);
// Dispatches messages until `done()` holds or `timeoutMs` has passed; answers done().
bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// What the recording handlers saw, in order.
struct CreatedSnapshot {
    HWND main = nullptr;
    bool mainVisible = true;
    DWORD mainStyle = 0;
    std::array<HWND, 13> controls{};  // by EventSource
};

struct HandlerLog {
    std::vector<std::string> order;  // "created", "start", "stop", "tick", "feedback"
    std::vector<std::pair<std::int32_t, std::int32_t>> feedback;
    std::vector<CreatedSnapshot> created;
    int count(const std::string& what) const;
};

HandlerLog& handlerLog();
// Handlers that only record into handlerLog(); the created one also takes a snapshot of the window.
FormHandlers recordingHandlers();
void recordCreated();
void recordStart();
void recordStop();
void recordTick();
void recordFeedback(std::int32_t wParam, std::int32_t lParam);

// MainWindow built by loadMainWindow from the program's form, bound to the given handlers; the
// log is cleared first. Destroyed again, with the WM_QUIT it posts, when this goes.
class LoadedMainWindow {
public:
    explicit LoadedMainWindow(const FormHandlers& handlers = recordingHandlers());
    ~LoadedMainWindow();
    LoadedMainWindow(const LoadedMainWindow&) = delete;
    LoadedMainWindow& operator=(const LoadedMainWindow&) = delete;

    bool loaded() const { return loaded_; }
    HWND window() const;
    HWND control(EventSource name) const;
    const FormDescription& form() const { return form_; }

private:
    FormDescription form_;
    bool loaded_ = false;
};

// The controls in record order, as the form lists them.
std::vector<EventSource> recordOrder(const FormDescription& form);

// A window of a plain class (DefWindowProc), shown without activation when `style` has WS_VISIBLE.
HWND createPlainWindow(DWORD style, DWORD exStyle, const RECT& rect, HWND parent = nullptr);

// A button event as a WH_MOUSE_LL hook saw it.
struct SeenButton {
    WPARAM message = 0;  // WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP
    POINT at{};
    DWORD flags = 0;
    bool operator==(const SeenButton& o) const
    {
        return message == o.message && at.x == o.at.x && at.y == o.at.y && flags == o.flags;
    }
};
std::string describe(const std::vector<SeenButton>& events);

// A WH_MOUSE_LL hook on a thread of its own, with its own message loop: the thread that injects
// input waits for the hook, so the hook must not live on the injecting thread.
class MouseButtonWatcher {
public:
    MouseButtonWatcher();
    ~MouseButtonWatcher();
    bool installed() const { return installed_; }
    std::vector<SeenButton> seen() const;
    void clear();
    // Waits until at least `count` events were seen and then no more came for `quietMs`;
    // the main thread's messages are dispatched meanwhile.
    std::vector<SeenButton> waitFor(std::size_t count, DWORD timeoutMs = 3000, DWORD quietMs = 200);

private:
    static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam);
    void run();

    std::thread thread_;
    DWORD threadId_ = 0;
    HANDLE ready_ = nullptr;
    bool installed_ = false;
    mutable std::mutex mutex_;
    std::vector<SeenButton> seen_;
    static inline MouseButtonWatcher* active_ = nullptr;
};
