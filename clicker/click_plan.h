// The click point and the button events of a synthetic click, apart from the calls that
// perform them.
#pragma once
#include <cstdint>
#include <span>

// Offset of the click point from the window's outer top-left corner.
constexpr std::int32_t kClickOffsetX = 310;
constexpr std::int32_t kClickOffsetY = 600;

// An exact 32-bit sum that wraps modulo 2^32 instead of overflowing.
constexpr std::int32_t wrappingAdd(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

enum ClickType : std::int32_t {
    LeftClick = 0,  // also every value other than 1 to 3
    LeftDoubleClick = 1,
    RightClick = 2,
    RightDoubleClick = 3,
};

// mouse_event flags, one event each, in the order they are injected.
constexpr std::uint32_t kLeftDown = 0x0002, kLeftUp = 0x0004, kRightDown = 0x0008, kRightUp = 0x0010;

// No allocation: this runs at every tick.
inline std::span<const std::uint32_t> clickEvents(std::int32_t type)
{
    static constexpr std::uint32_t left[] = {kLeftDown, kLeftUp};
    static constexpr std::uint32_t leftDouble[] = {kLeftDown, kLeftUp, kLeftDown, kLeftUp};
    static constexpr std::uint32_t right[] = {kRightDown, kRightUp};
    static constexpr std::uint32_t rightDouble[] = {kRightDown, kRightUp, kRightDown, kRightUp};
    switch (type) {
    case LeftDoubleClick: return leftDouble;
    case RightClick: return right;
    case RightDoubleClick: return rightDouble;
    default: return left;
    }
}
