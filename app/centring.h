// Where a window of a given outer size goes to sit in the middle of the screen.
#pragma once
#include <cstdint>

struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// Signed division truncates toward zero and nothing is clamped: on a screen smaller than
// the window the corner lies off the screen, by design.
constexpr ScreenPoint centredOrigin(std::int32_t screenWidth, std::int32_t screenHeight, std::int32_t width,
                                    std::int32_t height)
{
    return {(screenWidth - width) / 2, (screenHeight - height) / 2};
}
