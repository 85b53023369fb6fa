#include "hotkeys/hotkeys.h"

#include "app/form_access.h"
#include "clicker/click_controller.h"

std::int32_t startHotkeyId = 0;
std::int32_t stopHotkeyId = 0;

std::int32_t HotkeyRegistry::registerHotkey(HWND target, HWND receiver, std::int32_t modifierCode,
                                            std::int32_t virtualKey)
{
    receiverWindow_ = receiver;
    if (!interceptedWindow_)
        interceptedWindow_ = target;
    // Issued before Windows is asked, so a refused key uses up its number too.
    const std::uint32_t id = ids_.issue();
    // Never MOD_NOREPEAT: a held key repeats, and each repeat starts clicking again.
    if (!RegisterHotKey(target, static_cast<int>(id), modifierFlags(modifierCode), static_cast<UINT>(virtualKey)))
        return 0;
    return static_cast<std::int32_t>(id);
}

void HotkeyRegistry::interceptHotkey(HWND window, WPARAM id) const
{
    if (window == interceptedWindow_ && ids_.isIssued(id))
        SendMessageW(receiverWindow_, WM_FEEDBACK, id, 0);  // the label answers 0; not needed
}

HotkeyRegistry& hotkeyRegistry()
{
    static HotkeyRegistry registry;
    return registry;
}

void onMainWindowCreated()
{
    // Results are kept, not examined: a refused key simply stays 0 and does nothing.
    startHotkeyId = hotkeyRegistry().registerHotkey(mainWindowHandle(), controlWindow(EventSource::标签4), 0, VK_F10);
    stopHotkeyId = hotkeyRegistry().registerHotkey(mainWindowHandle(), controlWindow(EventSource::标签4), 0, VK_F11);
}

void onHotkeyFeedback(std::int32_t hotkeyId, std::int32_t /*extra*/)
{
    dispatchHotkeyFeedback(hotkeyId, startHotkeyId, stopHotkeyId, startClicking, stopClicking);
}
