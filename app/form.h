// MainWindow and its twelve controls as data. Reading this table (form.cpp) tells what the
// window looks like; the shell builds it with one loop. No Windows types here.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "app/events.h"
#include "app/keyboard_order.h"

using Colour = std::uint32_t;               // 0x00BBGGRR
constexpr Colour kFaceColour = 0xFF000000;  // the system's 3-D face colour, looked up at use

struct FontSpec {
    std::int32_t height = 0;  // LOGFONT lfHeight
    std::int32_t weight = 400;
    std::wstring_view face;
};

struct ControlRect {
    std::int32_t left = 0, top = 0, width = 0, height = 0;
};

enum class Align : std::int32_t { Near = 0, Centre = 1, Far = 2 };

struct LabelSettings {
    std::wstring_view text = L"标签";
    std::int32_t border = 0;
    Colour textColor = 0x000000;
    Colour backColor = kFaceColour;
    std::optional<FontSpec> font;  // none: DEFAULT_GUI_FONT
    Align horizontalAlign = Align::Near;
    Align verticalAlign = Align::Centre;  // only without word wrap
    bool wordWrap = false;
};

enum class InputMode : std::int32_t { AnyText = 0, IntegerText = 3 };

struct EditBoxSettings {
    std::wstring_view text;
    std::int32_t border = 1;  // sunken client edge
    Colour textColor = 0x000000;
    Colour backColor = 0xFFFFFF;
    std::optional<FontSpec> font;
    bool hideSelection = true;
    std::int32_t maxLength = 0;  // 0: the system's maximum
    bool multiLine = false;
    Align alignment = Align::Near;
    InputMode inputMode = InputMode::AnyText;
    std::int32_t caseConversion = 0;
    std::int32_t selectionStart = 0, selectionLength = 0;
};

struct ButtonSettings {
    std::wstring_view caption = L"按钮";
    bool defaultButton = false;
    Align horizontalAlign = Align::Centre;
    Align verticalAlign = Align::Centre;
    std::optional<FontSpec> font;
};

struct TimerSettings {
    std::int32_t period = 0;
};

struct WebPagePaneSettings {
    std::int32_t FontSize = 2;
    std::int32_t Offline = 0;
    std::int32_t Silent = 0;
    std::wstring_view url;
};

using ControlSettings =
    std::variant<LabelSettings, EditBoxSettings, ButtonSettings, TimerSettings, WebPagePaneSettings>;

struct ControlDescription {
    EventSource name;
    ControlRect rect;
    ControlSettings settings;
    bool visible = true;
    bool disable = false;
    bool tabStop = false;
    std::int32_t tabOrder = 0;
};

struct WindowSettings {
    std::wstring_view caption;
    ControlRect rect;  // left and top are unused: the window is centred
    bool controlBox = true;
    bool maxButton = false;
    bool minButton = true;
    bool movable = true;
    Colour backColor = kFaceColour;
    bool enterMovesFocus = false;
    bool escCloses = true;
    bool f1OpensHelp = false;
    bool showInTaskbar = true;
    bool topmost = false;
};

// The five procedures the form binds; passed in so the form stays free of their modules.
struct FormHandlers {
    void (*onMainWindowCreated)();
    void (*startClicking)();
    void (*stopClicking)();
    void (*onClickTimer)();
    void (*onHotkeyFeedback)(std::int32_t, std::int32_t);
};

struct FormDescription {
    WindowSettings window;
    std::vector<ControlDescription> controls;  // record order: stacking order, top first
    std::vector<EventBinding> bindings;
};

FormDescription describeMainWindow(const FormHandlers& handlers);

// Keyboard-order inputs for a form's controls, all enabled state taken from the description.
std::vector<TabCandidate> tabCandidates(const std::vector<ControlDescription>& controls);
