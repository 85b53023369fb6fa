#include "harness.h"

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace e2e {
namespace {
std::wstring& pathStore()
{
    static std::wstring path;
    return path;
}

struct FindArgs {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK findMainWindow(HWND window, LPARAM lParam)
{
    auto* args = reinterpret_cast<FindArgs*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == args->processId && classOf(window) == L"TavriloMainWindow" && IsWindowVisible(window)) {
        args->found = window;
        return FALSE;
    }
    return TRUE;
}

bool isExtendedKey(WORD vk)
{
    switch (vk) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_INSERT: case VK_DELETE: case VK_RCONTROL: case VK_RMENU:
    case VK_DIVIDE: case VK_NUMLOCK: case VK_SNAPSHOT:
        return true;
    }
    return false;
}

INPUT keyInput(WORD vk, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (isExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    return in;
}

INPUT unicodeInput(wchar_t ch, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = ch;
    in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return in;
}

void send(std::vector<INPUT> inputs)
{
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    if (sent != inputs.size())
        throw std::runtime_error("SendInput refused the input, error " + std::to_string(GetLastError()));
}

// A screen coordinate in SendInput's absolute units, 0..65535 over the primary screen, rounded
// up so that the system's conversion back lands on the very pixel.
LONG absolute(LONG pixel, int screenSize)
{
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + screenSize - 1) / screenSize);
}
}  // namespace

const std::wstring& tavriloPath()
{
    return pathStore();
}

void setTavriloPath(std::wstring path)
{
    pathStore() = std::move(path);
}

Tavrilo Tavrilo::start(const std::wstring& args)
{
    std::wstring commandLine = L"\"" + tavriloPath() + L"\"";
    if (!args.empty())
        commandLine += L" " + args;
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(tavriloPath().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        throw std::runtime_error("cannot start " + utf8(tavriloPath()) + ", error " +
                                 std::to_string(GetLastError()));
    CloseHandle(info.hThread);
    Tavrilo program;
    program.process_ = info.hProcess;
    program.processId_ = info.dwProcessId;

    // Wine starts its desktop process with the first window of a session, which can take many
    // seconds more on a loaded machine.
    FindArgs find{info.dwProcessId, nullptr};
    waitUntil([&] {
        EnumWindows(findMainWindow, reinterpret_cast<LPARAM>(&find));
        return find.found != nullptr || !program.running();
    }, 2 * kPatience);
    if (!find.found) {
        DWORD code = 0;
        GetExitCodeProcess(program.process_, &code);
        throw std::runtime_error(program.running() ? "no visible TavriloMainWindow in time"
                                                   : "the program ended at start, exit code " + std::to_string(code));
    }
    program.window_ = find.found;
    program.threadId_ = GetWindowThreadProcessId(find.found, nullptr);
    // The program activates its window as it shows it, even while an earlier copy is in front.
    if (!waitUntil([&] { return GetForegroundWindow() == program.window_; }))
        throw std::runtime_error("the window did not come to the foreground by itself");
    return program;
}

Tavrilo::Tavrilo(Tavrilo&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)),
      window_(std::exchange(other.window_, nullptr)),
      processId_(std::exchange(other.processId_, 0)),
      threadId_(std::exchange(other.threadId_, 0))
{
}

Tavrilo& Tavrilo::operator=(Tavrilo&& other) noexcept
{
    if (this != &other) {
        end();
        process_ = std::exchange(other.process_, nullptr);
        window_ = std::exchange(other.window_, nullptr);
        processId_ = std::exchange(other.processId_, 0);
        threadId_ = std::exchange(other.threadId_, 0);
    }
    return *this;
}

Tavrilo::~Tavrilo()
{
    end();
}

void Tavrilo::end() noexcept
{
    if (!process_)
        return;
    if (running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, kPatience);
    }
    CloseHandle(process_);
    process_ = nullptr;
}

bool Tavrilo::running() const
{
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Tavrilo::waitForExit(DWORD ms, DWORD* exitCode)
{
    if (!process_ || WaitForSingleObject(process_, ms) != WAIT_OBJECT_0)
        return false;
    if (exitCode)
        GetExitCodeProcess(process_, exitCode);
    return true;
}

bool Tavrilo::bringToFront() const
{
    return waitUntil([&] {
        if (GetForegroundWindow() == window_)
            return true;
        SetForegroundWindow(window_);
        return false;
    });
}

void pressKey(WORD vk)
{
    pressKeys({vk});
}

void pressKeys(const std::vector<WORD>& chord)
{
    std::vector<INPUT> inputs;
    for (WORD vk : chord)
        inputs.push_back(keyInput(vk, false));
    for (auto it = chord.rbegin(); it != chord.rend(); ++it)
        inputs.push_back(keyInput(*it, true));
    send(std::move(inputs));
}

// Real key presses, not KEYEVENTF_UNICODE: the program's message loop then sees WM_KEYDOWN,
// TranslateMessage makes the WM_CHAR from the keyboard layout, as for a person at the keyboard
// (tried under Wine: digits, "-", letters and punctuation arrive as typed). Only characters
// that no key of the layout gives are sent as themselves (VK_PACKET), as an input method would.
void typeText(std::wstring_view text)
{
    for (wchar_t ch : text) {
        const SHORT scan = VkKeyScanW(ch);
        const BYTE vk = LOBYTE(scan), shifts = HIBYTE(scan);
        if (scan == -1 || (shifts & ~1)) {
            // No plain or shifted key gives it on this keyboard: the character itself.
            send({unicodeInput(ch, false), unicodeInput(ch, true)});
        } else if (shifts & 1) {
            pressKeys({VK_SHIFT, vk});
        } else {
            pressKey(vk);
        }
    }
}

void clickAt(POINT screen)
{
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    INPUT move{}, down{}, up{};
    move.type = down.type = up.type = INPUT_MOUSE;
    move.mi.dx = absolute(screen.x, cx);
    move.mi.dy = absolute(screen.y, cy);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    send({move});
    // The button goes down only where the pointer has arrived.
    POINT at{};
    if (!waitUntil([&] { return GetCursorPos(&at) && at.x == screen.x && at.y == screen.y; }))
        throw std::runtime_error("the pointer went to (" + std::to_string(at.x) + ", " + std::to_string(at.y) +
                                 ") instead of (" + std::to_string(screen.x) + ", " + std::to_string(screen.y) + ")");
    send({down, up});
}

bool putOnClipboard(std::wstring_view text)
{
    if (!waitUntil([] { return OpenClipboard(nullptr) != FALSE; }))
        return false;
    EmptyClipboard();
    bool done = false;
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
        auto* chars = static_cast<wchar_t*>(GlobalLock(memory));
        text.copy(chars, text.size());
        chars[text.size()] = L'\0';
        GlobalUnlock(memory);
        done = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        if (!done)
            GlobalFree(memory);
    }
    CloseClipboard();
    return done;
}

bool paste(std::wstring_view text)
{
    if (!putOnClipboard(text))
        return false;
    pressKeys({VK_CONTROL, 'V'});
    return true;
}

std::wstring textOf(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kPatience, &length))
        return L"<no answer>";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kPatience, &copied))
        return L"<no answer>";
    text.resize(copied);
    return text;
}

bool setTextOf(HWND window, std::wstring_view text)
{
    const std::wstring copy(text);
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()), SMTO_ABORTIFHUNG,
                               kPatience, &result) &&
           result != FALSE;
}

std::wstring classOf(HWND window)
{
    wchar_t name[256] = {};
    return std::wstring(name, static_cast<std::size_t>(GetClassNameW(window, name, 256)));
}

RECT rectInClientOf(HWND parent, HWND child)
{
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

HWND focusOf(const Tavrilo& program)
{
    GUITHREADINFO info{sizeof info};
    return GetGUIThreadInfo(program.threadId(), &info) ? info.hwndFocus : nullptr;
}

std::string utf8(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    std::string out(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0,
                                                                 nullptr, nullptr)),
                    '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    return out;
}

void pumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace e2e
