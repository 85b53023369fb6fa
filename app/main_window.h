// MainWindow: the top-level window built from the form, its controls, and its keyboard handling.
#pragma once
#include <windows.h>

#include <array>
#include <cstddef>
#include <memory>
#include <optional>

#include "app/form.h"

class MainWindow {
public:
    // Creates the window and every control, hidden, and stacks the controls in form order.
    // Nothing (and no window left behind) when any of it fails.
    static MainWindow* create(const FormDescription& form);
    static MainWindow* instance() { return instance_; }

    HWND window() const { return window_; }
    HWND control(EventSource name) const { return controls_[static_cast<std::size_t>(name)]; }

    // The window's look at key messages before they are dispatched: Tab, Shift+Tab and Esc.
    // True when the message was consumed.
    bool preTranslate(const MSG& msg);

private:
    struct CreateArgs {
        std::unique_ptr<MainWindow> self;
    };
    explicit MainWindow(const FormDescription& form) : form_(form) {}
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool createControls();
    void stackAndShowControls();
    void onPaint();
    void onCommand(WPARAM wParam, LPARAM lParam);
    void focusInitialControl();
    void moveFocus(bool backwards);
    // The form record whose window is `window` or its parent.
    std::optional<std::size_t> recordOf(HWND window) const;

    static inline MainWindow* instance_ = nullptr;
    const FormDescription& form_;
    HWND window_ = nullptr;
    std::array<HWND, 13> controls_{};  // by EventSource; slot 0 (MainWindow itself) unused
    HWND rememberedFocus_ = nullptr;
};
