// The 800 x 800 window's outer top-left corner for a range of screens, including ones too small.
#include "app/centring.h"

#include <gtest/gtest.h>

namespace {

TEST(Centring, OriginForScreenSizes)
{
    struct Case {
        const char* name;
        std::int32_t screenWidth, screenHeight, width, height;
        ScreenPoint expected;
    };
    const Case cases[] = {
        {"1920x1080", 1920, 1080, 800, 800, {560, 140}},
        {"1366x768: top above the screen", 1366, 768, 800, 800, {283, -16}},
        {"odd difference truncates: 1365 wide", 1365, 1080, 800, 800, {282, 140}},
        {"-1 / 2 truncates to 0: 799 high", 1920, 799, 800, 800, {560, 0}},
        {"-1 / 2 truncates to 0: 799 wide", 799, 1080, 800, 800, {0, 140}},
        {"-3 / 2 truncates to -1", 797, 797, 800, 800, {-1, -1}},
        {"1 / 2 truncates to 0", 801, 801, 800, 800, {0, 0}},
        {"exactly the window's size", 800, 800, 800, 800, {0, 0}},
        {"640x480: off the screen, not clamped", 640, 480, 800, 800, {-80, -160}},
        {"no screen at all", 0, 0, 800, 800, {-400, -400}},
        {"other window sizes", 1024, 768, 301, 100, {361, 334}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ScreenPoint p = centredOrigin(c.screenWidth, c.screenHeight, c.width, c.height);
        EXPECT_EQ(p.x, c.expected.x);
        EXPECT_EQ(p.y, c.expected.y);
    }
}

// Usable where the window is created, at compile time too.
static_assert(centredOrigin(1920, 1080, 800, 800) == ScreenPoint{560, 140});

}  // namespace
