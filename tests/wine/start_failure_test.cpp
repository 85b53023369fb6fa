// A window or control that cannot be created fails the start as a whole: no created event, no
// window left behind, no quit posted; the program then shows an error message and ends with -1.
#include <gtest/gtest.h>

#include <string>

#include "app/form_access.h"
#include "app/shell.h"
#include "support.h"

namespace {

// Refuses, through a CBT hook on this thread, the creation of every window of one class, and
// answers any message box that comes up by pressing its OK button.
class CreationRefusal {
public:
    explicit CreationRefusal(std::wstring className)
    {
        target_ = std::move(className);
        refused_ = 0;
        messageBoxes_.clear();
        hook_ = SetWindowsHookExW(WH_CBT, hookProc, nullptr, GetCurrentThreadId());
    }
    ~CreationRefusal() { UnhookWindowsHookEx(hook_); }
    CreationRefusal(const CreationRefusal&) = delete;
    CreationRefusal& operator=(const CreationRefusal&) = delete;

    bool installed() const { return hook_ != nullptr; }
    int refused() const { return refused_; }
    // Caption and text of each message box, as "caption|text".
    const std::vector<std::wstring>& messageBoxes() const { return messageBoxes_; }

private:
    static std::wstring classOf(HWND window)
    {
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        return name;
    }

    static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam)
    {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_CREATEWND && classOf(window) == target_) {
            ++refused_;
            return 1;  // refuse
        }
        if (code == HCBT_ACTIVATE && classOf(window) == L"#32770") {
            wchar_t caption[64] = {}, text[256] = {};
            GetWindowTextW(window, caption, 64);
            // The message text is the box's static control.
            for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                if (classOf(child) == L"Static" && GetWindowTextLengthW(child) > 0)
                    GetWindowTextW(child, text, 256);
            }
            messageBoxes_.push_back(std::wstring(caption) + L"|" + text);
            PostMessageW(window, WM_COMMAND, IDOK, 0);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline std::wstring target_;
    static inline int refused_ = 0;
    static inline std::vector<std::wstring> messageBoxes_;
    HHOOK hook_ = nullptr;
};

bool quitPosted()
{
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

TEST(StartFailure, AnyWindowThatCannotBeCreatedFailsTheLoad)
{
    const wchar_t* classes[] = {L"TavriloMainWindow", L"TavriloLabel",      L"Edit", L"Button",
                                L"TavriloTimer",      L"TavriloWebPagePane"};
    for (const wchar_t* refusedClass : classes) {
        SCOPED_TRACE(testing::Message() << "refused class "
                                        << std::string(refusedClass, refusedClass + wcslen(refusedClass)));
        const FormDescription form = describeMainWindow(recordingHandlers());
        handlerLog() = {};
        useForm(form);
        bool loaded = true;
        {
            CreationRefusal refusal(refusedClass);
            ASSERT_TRUE(refusal.installed());
            loaded = loadMainWindow();
            EXPECT_GE(refusal.refused(), 1);
        }
        EXPECT_FALSE(loaded);
        EXPECT_EQ(handlerLog().count("created"), 0);
        EXPECT_EQ(mainWindowHandle(), nullptr);
        EXPECT_EQ(FindWindowW(L"TavriloMainWindow", nullptr), nullptr) << "a half-built window was left behind";
        // A posted quit would end the start-up error message at once.
        EXPECT_FALSE(quitPosted());
        EXPECT_EQ(programEvents().eventHoldCount(), 0);
    }
}

TEST(StartFailure, TheProgramShowsAnErrorAndEndsWithMinusOne)
{
    // Start elsewhere, to see the program move into its own folder first.
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    ASSERT_TRUE(SetCurrentDirectoryW(temp));
    std::wstring exe(MAX_PATH, L'\0');
    exe.resize(GetModuleFileNameW(nullptr, exe.data(), MAX_PATH));
    const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));

    handlerLog() = {};
    int exitCode = 0;
    std::vector<std::wstring> boxes;
    {
        CreationRefusal refusal(L"TavriloLabel");
        exitCode = runProgram();
        boxes = refusal.messageBoxes();
    }
    EXPECT_EQ(exitCode, -1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].substr(0, 8), L"Tavrilo|");
    EXPECT_GT(boxes[0].size(), 8u) << "the message says what went wrong";
    EXPECT_EQ(FindWindowW(L"TavriloMainWindow", nullptr), nullptr);

    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    EXPECT_EQ(lstrcmpiW(current, folder.c_str()), 0);
    EXPECT_FALSE(quitPosted());
}

}  // namespace
