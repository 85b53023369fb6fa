// MainWindow's description: the twelve controls with their places, texts, kinds and settings,
// the keyboard order that follows from them, and the five event bindings.
#include "app/form.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using S = EventSource;
using namespace std::string_view_literals;

// Distinct procedures, so a binding to the wrong one shows.
std::vector<std::string> ran;
std::vector<std::int32_t> feedbackArgs;
void onCreated()
{
    ran.push_back("onMainWindowCreated");
}
void onStart()
{
    ran.push_back("startClicking");
}
void onStop()
{
    ran.push_back("stopClicking");
}
void onTimer()
{
    ran.push_back("onClickTimer");
}
void onFeedback(std::int32_t id, std::int32_t extra)
{
    ran.push_back("onHotkeyFeedback");
    feedbackArgs = {id, extra};
}

enum Kind : std::size_t { Label, EditBox, Button, Timer, Pane };  // ControlSettings' alternatives

auto rectOf(const ControlRect& r)
{
    return std::tuple{r.left, r.top, r.width, r.height};
}

std::wstring_view textOf(const ControlSettings& settings)
{
    if (auto* l = std::get_if<LabelSettings>(&settings))
        return l->text;
    if (auto* e = std::get_if<EditBoxSettings>(&settings))
        return e->text;
    if (auto* b = std::get_if<ButtonSettings>(&settings))
        return b->caption;
    return {};
}

class FormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ran.clear();
        feedbackArgs.clear();
    }
    const FormDescription form = describeMainWindow({onCreated, onStart, onStop, onTimer, onFeedback});

    // A dispatcher holding exactly the form's bindings.
    EventDispatcher boundEvents() const
    {
        EventDispatcher events;
        for (const EventBinding& b : form.bindings)
            events.bind(b);
        return events;
    }

    const ControlDescription& control(S name) const
    {
        for (const ControlDescription& c : form.controls)
            if (c.name == name)
                return c;
        ADD_FAILURE() << "no control " << static_cast<int>(name);
        return form.controls.front();
    }
};

TEST_F(FormTest, Window)
{
    const WindowSettings& w = form.window;
    EXPECT_EQ(w.caption, L"Tavrilo"sv);
    EXPECT_EQ(rectOf(w.rect), std::tuple(50, 50, 800, 800));
    EXPECT_TRUE(w.controlBox);
    EXPECT_FALSE(w.maxButton);
    EXPECT_TRUE(w.minButton);
    EXPECT_TRUE(w.movable);
    EXPECT_EQ(w.backColor, kFaceColour);
    EXPECT_FALSE(w.enterMovesFocus);
    EXPECT_TRUE(w.escCloses);
    EXPECT_FALSE(w.f1OpensHelp);
    EXPECT_TRUE(w.showInTaskbar);
    EXPECT_FALSE(w.topmost);
}

TEST_F(FormTest, ControlsInRecordOrder)
{
    struct Expected {
        S name;
        std::tuple<int, int, int, int> rect;
        Kind kind;
        std::wstring_view text;
        bool visible;
        bool tabStop;
    };
    const Expected expected[] = {
        {S::标签7, {648, 728, 128, 48}, Label, L"==第二步拖动滚动条\r\n  在这里"sv, true, false},
        {S::标签6,
         {648, 440, 112, 120},
         Label,
         L"注意\uFF1A\r\n\r\n软件占用鼠标\r\n\r\n按F11停止\r\n\r\n开始后 请勿挪动此窗口"sv,
         true,
         false},
        {S::标签5,
         {640, 288, 152, 104},
         Label,
         L"使用说明\uFF1A\r\n\r\n1.先手动点击一次\uFF0C\r\n2.出现淘宝界面\r\n3.拉动最下方滚动条\r\n"
         L"4.登陆淘宝\r\n5.待返回红包界面\r\n6.点击开始"sv,
         true,
         false},
        {S::标签2, {696, 216, 56, 24}, Label, L"F11(tz)"sv, true, false},
        {S::标签4, {688, 136, 56, 24}, Label, L"F10(点击)"sv, true, false},
        {S::停止按钮, {656, 168, 120, 32}, Button, L"停止"sv, true, true},
        {S::标签3, {640, 32, 48, 24}, Label, L"点击间隔"sv, true, false},
        {S::标签1, {752, 32, 24, 24}, Label, L"毫秒"sv, true, false},
        {S::计时编辑框, {704, 32, 40, 24}, EditBox, L"1000"sv, true, true},
        {S::时钟1, {648, 0, 32, 32}, Timer, L""sv, false, false},
        {S::点击, {656, 88, 120, 32}, Button, L"开始"sv, true, true},
        {S::超文本浏览框1, {0, 0, 632, 752}, Pane, L""sv, true, true},
    };
    ASSERT_EQ(form.controls.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const Expected& e = expected[i];
        const ControlDescription& c = form.controls[i];
        SCOPED_TRACE(testing::Message() << "record " << i + 1);
        EXPECT_EQ(c.name, e.name);
        // The child identifiers count from the record index, in the order of EventSource.
        EXPECT_EQ(static_cast<std::size_t>(c.name), i + 1);
        EXPECT_EQ(rectOf(c.rect), e.rect);
        EXPECT_EQ(c.settings.index(), e.kind);
        EXPECT_EQ(textOf(c.settings), e.text);
        EXPECT_EQ(c.visible, e.visible);
        EXPECT_EQ(c.tabStop, e.tabStop);
        EXPECT_FALSE(c.disable);
        EXPECT_EQ(c.tabOrder, 0);
    }
}

TEST_F(FormTest, Labels)
{
    const FontSpec heiti{-14, 400, L"黑体"sv};
    const FontSpec heitiBold{-14, 700, L"黑体"sv};
    struct Expected {
        S name;
        Colour textColor;
        const FontSpec* font;
        bool wordWrap;
    };
    const Expected expected[] = {
        {S::标签7, 0x00FF0000, &heiti, true}, {S::标签6, 0x00FF0000, &heitiBold, true},
        {S::标签5, 0x000000, nullptr, true},  {S::标签2, 0x000000, nullptr, false},
        {S::标签4, 0x000000, nullptr, false}, {S::标签3, 0x000000, nullptr, false},
        {S::标签1, 0x000000, nullptr, false},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(testing::Message() << "label " << static_cast<int>(e.name));
        const auto* l = std::get_if<LabelSettings>(&control(e.name).settings);
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(l->textColor, e.textColor);
        EXPECT_EQ(l->backColor, kFaceColour);
        EXPECT_EQ(l->border, 0);
        EXPECT_EQ(l->horizontalAlign, Align::Near);
        EXPECT_EQ(l->verticalAlign, Align::Centre);
        EXPECT_EQ(l->wordWrap, e.wordWrap);
        ASSERT_EQ(l->font.has_value(), e.font != nullptr);
        if (e.font) {
            EXPECT_EQ(l->font->height, e.font->height);
            EXPECT_EQ(l->font->weight, e.font->weight);
            EXPECT_EQ(l->font->face, e.font->face);
        }
    }
}

TEST_F(FormTest, IntervalBox)
{
    const auto* e = std::get_if<EditBoxSettings>(&control(S::计时编辑框).settings);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->text, L"1000"sv);
    EXPECT_EQ(e->alignment, Align::Far);
    EXPECT_EQ(e->inputMode, InputMode::IntegerText);
    // Everything else keeps the edit box defaults.
    EXPECT_EQ(e->border, 1);
    EXPECT_EQ(e->textColor, 0x000000u);
    EXPECT_EQ(e->backColor, 0xFFFFFFu);
    EXPECT_FALSE(e->font.has_value());
    EXPECT_TRUE(e->hideSelection);
    EXPECT_EQ(e->maxLength, 0);
    EXPECT_FALSE(e->multiLine);
    EXPECT_EQ(e->caseConversion, 0);
    EXPECT_EQ(e->selectionStart, 0);
    EXPECT_EQ(e->selectionLength, 0);
}

TEST_F(FormTest, Buttons)
{
    for (auto [name, caption] : {std::pair{S::点击, L"开始"sv}, std::pair{S::停止按钮, L"停止"sv}}) {
        SCOPED_TRACE(testing::Message() << "button " << static_cast<int>(name));
        const auto* b = std::get_if<ButtonSettings>(&control(name).settings);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->caption, caption);
        EXPECT_FALSE(b->defaultButton);
        EXPECT_EQ(b->horizontalAlign, Align::Centre);
        EXPECT_EQ(b->verticalAlign, Align::Centre);
        EXPECT_FALSE(b->font.has_value());
    }
}

TEST_F(FormTest, TimerAndPane)
{
    const ControlDescription& timer = control(S::时钟1);
    const auto* t = std::get_if<TimerSettings>(&timer.settings);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->period, 0) << "no clicking before the first start";
    EXPECT_FALSE(timer.visible);

    const auto* p = std::get_if<WebPagePaneSettings>(&control(S::超文本浏览框1).settings);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->FontSize, 2);
    EXPECT_EQ(p->Offline, 0);
    EXPECT_EQ(p->Silent, 1);
}

TEST_F(FormTest, NoTwoVisibleControlsOverlap)
{
    auto overlap = [](const ControlRect& a, const ControlRect& b) {
        return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
               b.top < a.top + a.height;
    };
    for (std::size_t i = 0; i < form.controls.size(); ++i) {
        for (std::size_t j = i + 1; j < form.controls.size(); ++j) {
            const ControlDescription& a = form.controls[i];
            const ControlDescription& b = form.controls[j];
            if (!a.visible || !b.visible)
                continue;
            EXPECT_FALSE(overlap(a.rect, b.rect)) << "records " << i + 1 << " and " << j + 1;
        }
    }
}

TEST_F(FormTest, KeyboardOrderOfTheRealForm)
{
    const std::vector<TabCandidate> candidates = tabCandidates(form.controls);
    ASSERT_EQ(candidates.size(), form.controls.size());
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "record " << i + 1);
        EXPECT_EQ(candidates[i].isTimer, form.controls[i].name == S::时钟1);
        EXPECT_EQ(candidates[i].visible, form.controls[i].visible);
        EXPECT_EQ(candidates[i].enabled, !form.controls[i].disable);
        EXPECT_EQ(candidates[i].tabStop, form.controls[i].tabStop);
    }

    const std::vector<std::size_t> order = keyboardOrder(candidates);
    std::vector<S> names;
    for (std::size_t i : order)
        names.push_back(form.controls[i].name);
    ASSERT_EQ(names, (std::vector<S>{S::超文本浏览框1, S::点击, S::计时编辑框, S::停止按钮}));

    // Tab goes round pane -> 开始 -> interval box -> 停止 -> pane; Shift+Tab the other way.
    for (std::size_t k = 0; k < order.size(); ++k) {
        SCOPED_TRACE(testing::Message() << "position " << k);
        EXPECT_EQ(nextInKeyboardOrder(order, order[k], false), order[(k + 1) % order.size()]);
        EXPECT_EQ(nextInKeyboardOrder(order, order[(k + 1) % order.size()], true), order[k]);
    }
}

TEST_F(FormTest, TabCandidatesTakeDisableAsNotEnabled)
{
    std::vector<ControlDescription> controls = form.controls;
    controls[5].disable = true;  // 停止按钮
    const std::vector<TabCandidate> candidates = tabCandidates(controls);
    EXPECT_FALSE(candidates[5].enabled);
    const std::vector<std::size_t> order = keyboardOrder(candidates);
    EXPECT_EQ(order, (std::vector<std::size_t>{11, 10, 8}));
}

TEST_F(FormTest, BindingsRunTheirOwnHandler)
{
    ASSERT_EQ(form.bindings.size(), 5u);
    const EventDispatcher events = boundEvents();

    struct Case {
        S source;
        int event;
        std::vector<std::int32_t> args;
        const char* handler;
    };
    const Case cases[] = {
        {S::MainWindow, WindowEvent::created, {}, "onMainWindowCreated"},
        {S::点击, ButtonEvent::clicked, {}, "startClicking"},
        {S::停止按钮, ButtonEvent::clicked, {}, "stopClicking"},
        {S::时钟1, TimerEvent::periodElapsed, {}, "onClickTimer"},
        {S::标签4, LabelEvent::feedback, {33001, 0}, "onHotkeyFeedback"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.handler);
        ran.clear();
        EXPECT_EQ(events.raise(c.source, c.event, c.args), (EventResult{false, 0}));
        EXPECT_EQ(ran, std::vector<std::string>{c.handler});
    }

    const std::array<std::int32_t, 2> args{33002, -5};
    events.raise(S::标签4, LabelEvent::feedback, args);
    EXPECT_EQ(feedbackArgs, (std::vector<std::int32_t>{33002, -5})) << "wParam first, lParam second";
}

TEST_F(FormTest, NoOtherEventHasAHandler)
{
    const EventDispatcher events = boundEvents();

    struct Case {
        S source;
        int event;
    };
    const Case cases[] = {
        {S::MainWindow, WindowEvent::moved},
        {S::MainWindow, WindowEvent::resized},
        {S::标签2, LabelEvent::feedback},
        {S::标签7, LabelEvent::feedback},
        {S::计时编辑框, 0},
        {S::超文本浏览框1, 0},
        {S::点击, 1},
        {S::时钟1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "source " << static_cast<int>(c.source) << " event " << c.event);
        EXPECT_EQ(events.raise(c.source, c.event), (EventResult{false, 0}));
    }
    EXPECT_TRUE(ran.empty());
}

}  // namespace
