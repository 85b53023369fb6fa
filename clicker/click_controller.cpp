#include "clicker/click_controller.h"

#include <windows.h>

#include "app/form_access.h"
#include "clicker/interval_timer.h"
#include "clicker/mouse_click.h"
#include "clicker/text_to_int.h"

std::int32_t isRunning = 0;
std::int32_t clickX = 0;
std::int32_t clickY = 0;

namespace {
constexpr UINT kChineseCodePage = 936;

void setClickPeriod(std::int32_t period)
{
    if (IntervalTimer* timer = IntervalTimer::from(controlWindow(EventSource::时钟1)))
        timer->setPeriod(period);
}
}  // namespace

std::string intervalTextBytes()
{
    HWND box = controlWindow(EventSource::计时编辑框);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(kChineseCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(kChineseCodePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                            nullptr, nullptr);
    return bytes;
}

void startClicking()
{
    isRunning = 1;
    // The outer rectangle, frame and title bar included, as it is at this moment.
    RECT outer{};
    GetWindowRect(mainWindowHandle(), &outer);
    clickX = wrappingAdd(outer.left, kClickOffsetX);
    clickY = wrappingAdd(outer.top, kClickOffsetY);
    setClickPeriod(textToInt(intervalTextBytes()));
}

void stopClicking()
{
    // Cleared first, so a tick already queued before the timer goes clicks nothing.
    isRunning = 0;
    setClickPeriod(0);
}

void onClickTimer()
{
    if (isRunning == 1)
        simulateMouseClick(clickX, clickY, LeftDoubleClick);
}
