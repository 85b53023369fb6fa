// Tavrilo's window, its controls and its resources as Windows reports them to another process,
// and how the program starts and ends from outside.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "harness.h"

using namespace e2e;

namespace {
// Every check of the window's make-up reads the same untouched copy of the program.
class MainWindowLayout : public testing::Test {
protected:
    static void SetUpTestSuite() { program.emplace(Tavrilo::start()); }
    static void TearDownTestSuite() { program.reset(); }
    void SetUp() override { ASSERT_TRUE(program && program->running()) << "the program is not running"; }

    static std::optional<Tavrilo> program;
};
std::optional<Tavrilo> MainWindowLayout::program;

TEST_F(MainWindowLayout, IsCentredOnTheScreenAt800By800)
{
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);
    RECT r{};
    ASSERT_TRUE(GetWindowRect(program->window(), &r));
    EXPECT_EQ(r.left, 560);
    EXPECT_EQ(r.top, 140);
    EXPECT_EQ(r.right - r.left, 800);
    EXPECT_EQ(r.bottom - r.top, 800);
}

TEST_F(MainWindowLayout, HasItsTitleClassAndFixedFrameStyle)
{
    const HWND w = program->window();
    EXPECT_EQ(utf8(textOf(w)), "Tavrilo");
    EXPECT_EQ(utf8(classOf(w)), "TavriloMainWindow");
    // Created with WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN
    // (0x02CA0000) and extended style 0. Windows itself adds WS_CLIPSIBLINGS to every top-level
    // window and WS_EX_WINDOWEDGE to every window with a caption; it is visible now.
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE)), 0x02CA0000u | WS_CLIPSIBLINGS | WS_VISIBLE)
        << std::hex << GetWindowLongW(w, GWL_STYLE);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(w, GWL_EXSTYLE)), static_cast<DWORD>(WS_EX_WINDOWEDGE))
        << std::hex << GetWindowLongW(w, GWL_EXSTYLE);
}

TEST_F(MainWindowLayout, IsATopLevelWindowWithoutOwner)
{
    const HWND w = program->window();
    EXPECT_EQ(GetWindow(w, GW_OWNER), nullptr);
    EXPECT_EQ(GetParent(w), nullptr);
    EXPECT_EQ(GetAncestor(w, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(GetMenu(w), nullptr);
}

struct ExpectedControl {
    int id;
    const char* name;
    const wchar_t* className;
    RECT rect;  // in the client area of the main window
    const wchar_t* text;
    DWORD style;
    DWORD exStyle;
};

constexpr DWORD kChild = WS_CHILD | WS_CLIPSIBLINGS;
constexpr DWORD kLabel = kChild | WS_VISIBLE;
constexpr DWORD kButton =
    BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE | kChild | WS_TABSTOP | WS_VISIBLE;
constexpr DWORD kIntervalBox = ES_AUTOHSCROLL | ES_RIGHT | kChild | WS_TABSTOP | WS_VISIBLE;
constexpr DWORD kPane = kChild | WS_TABSTOP | WS_VISIBLE;

// Record order, which is also the stacking order from the top.
const ExpectedControl kControls[] = {
    {标签7, "标签7", L"TavriloLabel", {648, 728, 776, 776}, L"==第二步拖动滚动条\r\n  在这里", kLabel, 0},
    {标签6, "标签6", L"TavriloLabel", {648, 440, 760, 560},
     L"注意：\r\n\r\n软件占用鼠标\r\n\r\n按F11停止\r\n\r\n开始后 请勿挪动此窗口", kLabel, 0},
    {标签5, "标签5", L"TavriloLabel", {640, 288, 792, 392},
     L"使用说明：\r\n\r\n1.先手动点击一次，\r\n2.出现淘宝界面\r\n3.拉动最下方滚动条\r\n4.登陆淘宝\r\n5.待返回红包界面\r\n"
     L"6.点击开始",
     kLabel, 0},
    {标签2, "标签2", L"TavriloLabel", {696, 216, 752, 240}, L"F11(tz)", kLabel, 0},
    {标签4, "标签4", L"TavriloLabel", {688, 136, 744, 160}, L"F10(点击)", kLabel, 0},
    {停止按钮, "停止按钮", L"Button", {656, 168, 776, 200}, L"停止", kButton, 0},
    {标签3, "标签3", L"TavriloLabel", {640, 32, 688, 56}, L"点击间隔", kLabel, 0},
    {标签1, "标签1", L"TavriloLabel", {752, 32, 776, 56}, L"毫秒", kLabel, 0},
    {计时编辑框, "计时编辑框", L"Edit", {704, 32, 744, 56}, L"1000", kIntervalBox, WS_EX_CLIENTEDGE},
    {时钟1, "时钟1", L"TavriloTimer", {648, 0, 680, 32}, L"", kChild, 0},
    {点击, "点击", L"Button", {656, 88, 776, 120}, L"开始", kButton, 0},
    {超文本浏览框1, "超文本浏览框1", L"TavriloWebPagePane", {0, 0, 632, 752}, L"", kPane, 0},
};

TEST_F(MainWindowLayout, ControlsHaveTheirClassPlaceTextAndStyle)
{
    for (const ExpectedControl& c : kControls) {
        SCOPED_TRACE(c.name);
        const HWND control = program->control(c.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(GetParent(control), program->window());
        EXPECT_EQ(GetDlgCtrlID(control), c.id);
        EXPECT_EQ(utf8(classOf(control)), utf8(c.className));
        const RECT r = rectInClientOf(program->window(), control);
        EXPECT_EQ(r.left, c.rect.left);
        EXPECT_EQ(r.top, c.rect.top);
        EXPECT_EQ(r.right, c.rect.right);
        EXPECT_EQ(r.bottom, c.rect.bottom);
        EXPECT_EQ(utf8(textOf(control)), utf8(c.text));
        EXPECT_EQ(IsWindowVisible(control) != FALSE, (c.style & WS_VISIBLE) != 0);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE)), c.style) << std::hex;
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(control, GWL_EXSTYLE)), c.exStyle) << std::hex;
    }
}

TEST_F(MainWindowLayout, ControlsAreStackedInRecordOrderAndAreTheOnlyChildren)
{
    std::vector<int> stack;
    for (HWND c = GetWindow(program->window(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        stack.push_back(GetDlgCtrlID(c));
    std::vector<int> expected;
    for (const ExpectedControl& c : kControls)
        expected.push_back(c.id);
    EXPECT_EQ(stack, expected);
}

TEST_F(MainWindowLayout, IntervalBoxStartsWithTheCaretBeforeTheFirstCharacter)
{
    DWORD_PTR selection = 0xFFFFFFFF;
    ASSERT_TRUE(SendMessageTimeoutW(program->control(计时编辑框), EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, kPatience,
                                    &selection));
    EXPECT_EQ(selection, MAKELONG(0, 0));
}

// The executable's resources, read as data: WM_GETICON does not answer across processes here.
class ProgramFile : public testing::Test {
protected:
    void SetUp() override
    {
        module_ = LoadLibraryExW(tavriloPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << "error " << GetLastError();
    }
    void TearDown() override
    {
        if (module_)
            FreeLibrary(module_);
    }
    HMODULE module_ = nullptr;
};

TEST_F(ProgramFile, CarriesTheIconDefaultIconInBothSizes)
{
    EXPECT_NE(FindResourceW(module_, L"DEFAULT_ICON", MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */), nullptr);
    for (int size : {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CXSMICON)}) {
        SCOPED_TRACE(size);
        HANDLE icon = LoadImageW(module_, L"DEFAULT_ICON", IMAGE_ICON, size, size, 0);
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        EXPECT_TRUE(GetIconInfo(static_cast<HICON>(icon), &info));
        EXPECT_TRUE(info.fIcon);
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
        if (info.hbmMask)
            DeleteObject(info.hbmMask);
        DestroyIcon(static_cast<HICON>(icon));
    }
}

TEST_F(ProgramFile, ManifestAsksForCommonControlsVersion6)
{
    HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24) /* RT_MANIFEST */);
    ASSERT_NE(found, nullptr);
    const char* data = static_cast<const char*>(LockResource(LoadResource(module_, found)));
    ASSERT_NE(data, nullptr);
    const std::string manifest(data, SizeofResource(module_, found));

    const std::size_t name = manifest.find("name=\"Microsoft.Windows.Common-Controls\"");
    ASSERT_NE(name, std::string::npos) << manifest;
    EXPECT_NE(manifest.rfind("<dependentAssembly>", name), std::string::npos);
    // The attributes of the same assemblyIdentity element.
    const std::size_t begin = manifest.rfind("<assemblyIdentity", name);
    const std::size_t end = manifest.find("/>", name);
    ASSERT_NE(begin, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    const std::string identity = manifest.substr(begin, end - begin);
    EXPECT_NE(identity.find("version=\"6.0.0.0\""), std::string::npos) << identity;
    EXPECT_NE(identity.find("publicKeyToken=\"6595b64144ccf1df\""), std::string::npos) << identity;
    EXPECT_NE(identity.find("type=\"win32\""), std::string::npos) << identity;
}

// Closing the window by the messages its title bar and window menu send ends the program.
struct CloseCase {
    const char* name;
    UINT message;
    WPARAM wParam;
};

void PrintTo(const CloseCase& c, std::ostream* os)
{
    *os << c.name;
}

class ClosingByMessage : public testing::TestWithParam<CloseCase> {};

TEST_P(ClosingByMessage, EndsTheProgramWithExitCode0)
{
    Tavrilo program = Tavrilo::start();
    ASSERT_TRUE(PostMessageW(program.window(), GetParam().message, GetParam().wParam, 0));
    DWORD code = 0xDEAD;
    ASSERT_TRUE(program.waitForExit(kPatience, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(IsWindow(program.window()));
}

INSTANTIATE_TEST_SUITE_P(Messages, ClosingByMessage,
                         testing::Values(CloseCase{"WM_CLOSE", WM_CLOSE, 0},
                                         CloseCase{"SC_CLOSE", WM_SYSCOMMAND, SC_CLOSE}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Start, TwoCopiesEachOpenTheirOwnWindow)
{
    Tavrilo first = Tavrilo::start();
    Tavrilo second = Tavrilo::start();
    EXPECT_NE(first.processId(), second.processId());
    EXPECT_NE(first.window(), second.window());
    for (const Tavrilo* p : {&first, &second}) {
        EXPECT_TRUE(p->running());
        EXPECT_TRUE(IsWindowVisible(p->window()));
        EXPECT_EQ(utf8(classOf(p->window())), "TavriloMainWindow");
        EXPECT_EQ(utf8(textOf(p->control(点击))), "开始");
    }
    // Each ends on its own.
    DWORD code = 0xDEAD;
    ASSERT_TRUE(PostMessageW(second.window(), WM_CLOSE, 0, 0));
    ASSERT_TRUE(second.waitForExit(kPatience, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(first.running());
    EXPECT_TRUE(IsWindowVisible(first.window()));
    ASSERT_TRUE(PostMessageW(first.window(), WM_CLOSE, 0, 0));
    ASSERT_TRUE(first.waitForExit(kPatience, &code));
    EXPECT_EQ(code, 0u);
}

TEST(Start, IgnoresCommandLineArguments)
{
    Tavrilo program = Tavrilo::start(L"--foo bar /x");
    RECT r{};
    ASSERT_TRUE(GetWindowRect(program.window(), &r));
    EXPECT_EQ(r.left, 560);
    EXPECT_EQ(r.top, 140);
    EXPECT_EQ(utf8(textOf(program.window())), "Tavrilo");
    EXPECT_EQ(utf8(textOf(program.control(计时编辑框))), "1000");
    EXPECT_TRUE(waitUntil([&] { return focusOf(program) == program.control(超文本浏览框1); }));
    pressKey(VK_ESCAPE);
    DWORD code = 0xDEAD;
    ASSERT_TRUE(program.waitForExit(kPatience, &code));
    EXPECT_EQ(code, 0u);
}
}  // namespace
