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

    form.controls = {
        {S::标签7, {648, 728, 128, 48},
         LabelSettings{.text = L"==第二步拖动滚动条\r\n  在这里", .textColor = kBlue, .font = kHeiti14, .wordWrap = true}},
        {S::标签6, {648, 440, 112, 120},
         LabelSettings{.text = L"注意：\r\n\r\n软件占用鼠标\r\n\r\n按F11停止\r\n\r\n开始后 请勿挪动此窗口",
                       .textColor = kBlue, .font = kHeiti14Bold, .wordWrap = true}},
        {S::标签5, {640, 288, 152, 104},
         LabelSettings{.text = L"使用说明：\r\n\r\n1.先手动点击一次，\r\n2.出现淘宝界面\r\n3.拉动最下方滚动条\r\n"
                               L"4.登陆淘宝\r\n5.待返回红包界面\r\n6.点击开始",
                       .wordWrap = true}},
        {S::标签2, {696, 216, 56, 24}, LabelSettings{.text = L"F11(tz)"}},
        {S::标签4, {688, 136, 56, 24}, LabelSettings{.text = L"F10(点击)"}},
        {S::停止按钮, {656, 168, 120, 32}, ButtonSettings{.caption = L"停止"}, true, false, true},
        {S::标签3, {640, 32, 48, 24}, LabelSettings{.text = L"点击间隔"}},
        {S::标签1, {752, 32, 24, 24}, LabelSettings{.text = L"毫秒"}},
        {S::计时编辑框, {704, 32, 40, 24},
         EditBoxSettings{.text = L"1000", .alignment = Align::Far, .inputMode = InputMode::IntegerText}, true, false, true},
        {S::时钟1, {648, 0, 32, 32}, TimerSettings{}, false},
        {S::点击, {656, 88, 120, 32}, ButtonSettings{.caption = L"开始"}, true, false, true},
        {S::超文本浏览框1, {0, 0, 632, 752}, WebPagePaneSettings{.FontSize = 2, .Offline = 0, .Silent = 1},
         true, false, true},
    };

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
        out.push_back({c.visible, !c.disable, c.tabStop,
                       std::holds_alternative<TimerSettings>(c.settings), c.tabOrder});
    }
    return out;
}
