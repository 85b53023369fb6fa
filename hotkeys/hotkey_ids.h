// Hotkey identifiers and modifier codes: the bookkeeping of hotkey registration, without Windows.
#pragma once
#include <cstdint>

constexpr std::uint32_t kFirstHotkeyId = 33001;

// This program's modifier code (1 Ctrl, 2 Shift, 4 Alt, and sums of two) as RegisterHotKey
// flags; any other value is passed through as it is.
constexpr std::uint32_t modifierFlags(std::int32_t modifierCode)
{
    constexpr std::uint32_t alt = 1, control = 2, shift = 4;  // MOD_ALT, MOD_CONTROL, MOD_SHIFT
    switch (modifierCode) {
        case 0:
            return 0;
        case 1:
            return control;
        case 2:
            return shift;
        case 3:
            return control | shift;
        case 4:
            return alt;
        case 5:
            return control | alt;
        case 6:
            return shift | alt;
        default:
            return static_cast<std::uint32_t>(modifierCode);
    }
}

// Issues one identifier per registration, refused ones included, and never reuses one.
class HotkeyIdIssuer {
public:
    std::uint32_t issue()
    {
        ++issuedCount_;
        lastHotkeyId_ = kFirstHotkeyId - 1 + static_cast<std::uint32_t>(issuedCount_);
        return lastHotkeyId_;
    }
    // Whether a WM_HOTKEY identifier is one of ours; compared unsigned, at full width.
    bool isIssued(std::uint64_t id) const { return id >= kFirstHotkeyId && id <= lastHotkeyId_; }

    std::int32_t issuedCount() const { return issuedCount_; }
    std::uint32_t lastHotkeyId() const { return lastHotkeyId_; }

private:
    std::int32_t issuedCount_ = 0;
    std::uint32_t lastHotkeyId_ = 0;
};

// A hotkey notification runs start and then, as a separate test, stop: an identifier equal to
// both variables runs both. The stop identifier is read after start has run.
template <typename Start, typename Stop>
void dispatchHotkeyFeedback(std::int32_t id, const std::int32_t& startId, const std::int32_t& stopId, Start start,
                            Stop stop)
{
    if (id == startId)
        start();
    if (id == stopId)
        stop();
}
