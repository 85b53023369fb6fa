// The end-to-end harness: starts the real tavrilo.exe as its own process and drives it from
// outside, as a person would (system key presses and mouse clicks), reading what Windows reports
// about its windows. Nothing of the program's own code is linked in.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// How long any wait of the tests may take: a loaded machine under Wine is slow, but a wait that
// is met returns at once.
constexpr DWORD kPatience = 15000;

// The program under test, as main() was given it (a Windows path).
const std::wstring& tavriloPath();
void setTavriloPath(std::wstring path);

// The controls' child-window identifiers: 1001 + their place in the window's record order.
enum ControlId : int {
    标签7 = 1001, 标签6, 标签5, 标签2, 标签4, 停止按钮, 标签3, 标签1, 计时编辑框, 时钟1, 点击, 超文本浏览框1,
};

// One running copy of the program. Move-only; the destructor ends a copy still running.
class Tavrilo {
public:
    // Starts tavrilo.exe with `args` as its command-line arguments and returns once its
    // TavriloMainWindow is visible and has come to the foreground by itself. Throws
    // std::runtime_error otherwise.
    static Tavrilo start(const std::wstring& args = L"");

    Tavrilo(Tavrilo&& other) noexcept;
    Tavrilo& operator=(Tavrilo&& other) noexcept;
    Tavrilo(const Tavrilo&) = delete;
    Tavrilo& operator=(const Tavrilo&) = delete;
    ~Tavrilo();

    HWND window() const { return window_; }
    DWORD processId() const { return processId_; }
    DWORD threadId() const { return threadId_; }  // the thread that owns the window
    HWND control(int childId) const { return GetDlgItem(window_, childId); }

    bool running() const;
    // True when the process ended within `ms`; its exit code goes to `exitCode`.
    bool waitForExit(DWORD ms, DWORD* exitCode = nullptr);
    // Makes the window the foreground window (system input goes there); true once it is.
    bool bringToFront() const;

private:
    Tavrilo() = default;
    void end() noexcept;

    HANDLE process_ = nullptr;
    HWND window_ = nullptr;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
};

// Input as a person makes it, through the system's input stream (SendInput). Keys go to the
// foreground window's thread, and there to the window with the keyboard focus; each function
// returns once the input is queued, not handled: wait for its effect with waitUntil.
void pressKey(WORD vk);                         // down, then up
void pressKeys(const std::vector<WORD>& chord);  // all down in order, then up in reverse
void typeText(std::wstring_view text);          // key presses of the characters
void clickAt(POINT screen);                     // moves there, then a left click; throws if it can't
bool putOnClipboard(std::wstring_view text);    // as CF_UNICODETEXT
bool paste(std::wstring_view text);             // onto the clipboard, then Ctrl+V

// Reading and writing the program's windows from another process.
std::wstring textOf(HWND window);               // WM_GETTEXT
bool setTextOf(HWND window, std::wstring_view text);  // WM_SETTEXT
std::wstring classOf(HWND window);
RECT rectInClientOf(HWND parent, HWND child);   // the child's outer rectangle, parent's client coordinates
HWND focusOf(const Tavrilo& program);           // the program's focus window, or null

std::string utf8(std::wstring_view text);       // for messages and comparisons gtest can print

// Dispatches the test process's own waiting messages (it owns the clipboard data).
void pumpMessages();

// Polls `cond` until it holds or `timeoutMs` has passed; the final answer of `cond`.
template <class F>
bool waitUntil(F cond, DWORD timeoutMs = kPatience)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (cond())
            return true;
        if (GetTickCount64() >= deadline)
            return static_cast<bool>(cond());
        pumpMessages();
        Sleep(10);
    }
}

}  // namespace e2e
