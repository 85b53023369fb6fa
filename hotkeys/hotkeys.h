// F10 and F11 as system-wide hotkeys of the main window. A press reaches the label 标签4 as
// WM_FEEDBACK, whose feedback event runs onHotkeyFeedback.
#pragma once
#include <windows.h>

#include <cstdint>

#include "app/form_access.h"
#include "hotkeys/hotkey_ids.h"

extern std::int32_t startHotkeyId;  // 0 when Windows refused F10
extern std::int32_t stopHotkeyId;   // 0 when Windows refused F11

// One registry for the program: one receiver for every hotkey, and one intercepted window,
// the target of the first registration.
class HotkeyRegistry {
public:
    // The new identifier when Windows accepted the key, else 0.
    std::int32_t registerHotkey(HWND target, HWND receiver, std::int32_t modifierCode, std::int32_t virtualKey);

    // Called by a window's procedure for each WM_HOTKEY it gets, before its own handling:
    // sends WM_FEEDBACK to the receiver when the window is the intercepted one and the
    // identifier is one this registry issued.
    void interceptHotkey(HWND window, WPARAM id) const;

    std::uint32_t lastHotkeyId() const { return ids_.lastHotkeyId(); }
    HWND receiverWindow() const { return receiverWindow_; }
    HWND interceptedWindow() const { return interceptedWindow_; }

private:
    HotkeyIdIssuer ids_;
    HWND receiverWindow_ = nullptr;
    HWND interceptedWindow_ = nullptr;
};

HotkeyRegistry& hotkeyRegistry();

void onMainWindowCreated();
void onHotkeyFeedback(std::int32_t hotkeyId, std::int32_t extra);
