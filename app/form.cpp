#include "app/form.h"

namespace {
constexpr Colour kBlue = 0x00FF0000;
constexpr FontSpec kHeiti14{-14, 400, L"黑体"};
constexpr FontSpec kHeiti14Bold{-14, 700, L"黑体"};
}  // namespace

FormDescription describeMainWindow(const FormHandlers& h)
{
    using S = EventSource;
    FormDescription form;
    form.window.caption = L"Tavrilo";
    form.window.rect = {50, 50, 800, 800};

    // clang-format off
    form.controls = {
        {.name = S::标签7, .rect = {648, 728, 128, 48},
         .settings = LabelSettings{.text = L"==第二步拖动滚动条\r\n  在这里",
                                   .textColor = kBlue, .font = kHeiti14, .wordWrap = true}},
        {.name = S::标签6, .rect = {648, 440, 112, 120},
         .settings = LabelSettings{.text = L"注意：\r\n\r\n软件占用鼠标\r\n\r\n按F11停止\r\n\r\n开始后 请勿挪动此窗口",
                                   .textColor = kBlue, .font = kHeiti14Bold, .wordWrap = true}},
        {.name = S::标签5, .rect = {640, 288, 152, 104},
         .settings = LabelSettings{.text = L"使用说明：\r\n\r\n1.先手动点击一次，\r\n2.出现淘宝界面\r\n3.拉动最下方滚动条\r\n"
                                           L"4.登陆淘宝\r\n5.待返回红包界面\r\n6.点击开始",
                                   .wordWrap = true}},
        {.name = S::标签2, .rect = {696, 216, 56, 24}, .settings = LabelSettings{.text = L"F11(tz)"}},
        {.name = S::标签4, .rect = {688, 136, 56, 24}, .settings = LabelSettings{.text = L"F10(点击)"}},
        {.name = S::停止按钮, .rect = {656, 168, 120, 32}, .settings = ButtonSettings{.caption = L"停止"},
         .tabStop = true},
        {.name = S::标签3, .rect = {640, 32, 48, 24}, .settings = LabelSettings{.text = L"点击间隔"}},
        {.name = S::标签1, .rect = {752, 32, 24, 24}, .settings = LabelSettings{.text = L"毫秒"}},
        {.name = S::计时编辑框, .rect = {704, 32, 40, 24},
         .settings = EditBoxSettings{.text = L"1000", .alignment = Align::Far, .inputMode = InputMode::IntegerText},
         .tabStop = true},
        {.name = S::时钟1, .rect = {648, 0, 32, 32}, .settings = TimerSettings{}, .visible = false},
        {.name = S::点击, .rect = {656, 88, 120, 32}, .settings = ButtonSettings{.caption = L"开始"}, .tabStop = true},
        {.name = S::超文本浏览框1, .rect = {0, 0, 632, 752},
         .settings = WebPagePaneSettings{.FontSize = 2, .Offline = 0, .Silent = 1}, .tabStop = true},
    };
    // clang-format on

    form.bindings = {
        {S::MainWindow, WindowEvent::created, procedure(h.onMainWindowCreated)},
        {S::点击, ButtonEvent::clicked, procedure(h.startClicking)},
        {S::停止按钮, ButtonEvent::clicked, procedure(h.stopClicking)},
        {S::时钟1, TimerEvent::periodElapsed, procedure(h.onClickTimer)},
        {S::标签4, LabelEvent::feedback, procedure(h.onHotkeyFeedback)},
    };
    return form;
}

std::vector<TabCandidate> tabCandidates(const std::vector<ControlDescription>& controls)
{
    std::vector<TabCandidate> out;
    out.reserve(controls.size());
    for (const ControlDescription& c : controls) {
        out.push_back(
            {c.visible, !c.disable, c.tabStop, std::holds_alternative<TimerSettings>(c.settings), c.tabOrder});
    }
    return out;
}
