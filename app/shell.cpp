#include "app/shell.h"

#include <windows.h>

#include <string>

#include "app/form_access.h"
#include "app/main_window.h"
#include "app/win_owners.h"
#include "clicker/click_controller.h"
#include "hotkeys/hotkeys.h"

namespace {
const FormDescription* activeForm = nullptr;

// Dispatches what is already waiting, without waiting for more. A WM_QUIT met here is put
// back for the message loop.
void processWaitingMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void enterProgramFolder()
{
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    const std::size_t slash = path.find_last_of(L'\\');
    if (slash != std::wstring::npos) {
        path.resize(slash);
        SetCurrentDirectoryW(path.c_str());
    }
}
}  // namespace

EventDispatcher& programEvents()
{
    static EventDispatcher dispatcher;
    return dispatcher;
}

EventResult raiseEvent(EventSource source, int event, std::initializer_list<std::int32_t> args)
{
    return programEvents().raise(source, event, EventArgs(args.begin(), args.size()));
}

HWND mainWindowHandle()
{
    MainWindow* w = MainWindow::instance();
    return w ? w->window() : nullptr;
}

HWND controlWindow(EventSource control)
{
    MainWindow* w = MainWindow::instance();
    return w ? w->control(control) : nullptr;
}

void useForm(const FormDescription& form)
{
    activeForm = &form;
    programEvents().unbindAll();
    for (const EventBinding& binding : form.bindings)
        programEvents().bind(binding);
}

bool loadMainWindow()
{
    processWaitingMessages();
    programEvents().hold();  // nothing is delivered while the window is half built
    MainWindow* window = activeForm ? MainWindow::create(*activeForm) : nullptr;
    processWaitingMessages();
    programEvents().release();
    if (!window)
        return false;

    raiseEvent(EventSource::MainWindow, WindowEvent::created);
    // The created handler could have closed the window.
    if (MainWindow* w = MainWindow::instance()) {
        raiseEvent(EventSource::MainWindow, WindowEvent::moved);
        raiseEvent(EventSource::MainWindow, WindowEvent::resized);
        ShowWindow(w->window(), SW_SHOW);  // activation passes the focus on to the first control
    }
    return true;
}

int runMessageLoop()
{
    MSG msg;
    // GetMessage waits while the queue is empty; the program has no idle work of its own.
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (MainWindow* w = MainWindow::instance(); w && w->preTranslate(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

int runProgram()
{
    enterProgramFolder();
    OleSession ole;  // the web page pane's browser control needs OLE on this thread
    static const FormDescription form =
        describeMainWindow({onMainWindowCreated, startClicking, stopClicking, onClickTimer, onHotkeyFeedback});
    useForm(form);
    if (!loadMainWindow()) {
        MessageBoxW(nullptr, L"无法创建主窗口，程序无法启动。", L"Tavrilo", MB_OK | MB_ICONERROR);
        return -1;
    }
    const int exitCode = runMessageLoop();
    programEvents().hold();  // for good: nothing is delivered while the program ends
    return exitCode;
}
