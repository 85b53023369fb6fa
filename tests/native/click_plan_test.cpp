// The click point's arithmetic and the button events of each click type.
#include "clicker/click_plan.h"

#include "app/centring.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

TEST(WrappingAdd, Edges)
{
    struct Case {
        std::int32_t a, b, sum;
    };
    const Case cases[] = {
        {0, 0, 0},
        {560, 310, 870},
        {-16, 600, 584},
        {-1, 1, 0},
        {INT32_MAX, 0, INT32_MAX},
        {INT32_MAX, 1, INT32_MIN},
        {INT32_MIN, -1, INT32_MAX},
        {INT32_MAX, INT32_MAX, -2},
        {INT32_MIN, INT32_MIN, 0},
        {INT32_MAX - 309, 310, INT32_MIN},
        {INT32_MAX - 310, 310, INT32_MAX},
        {INT32_MIN, INT32_MAX, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " + " << c.b);
        EXPECT_EQ(wrappingAdd(c.a, c.b), c.sum);
        EXPECT_EQ(wrappingAdd(c.b, c.a), c.sum);
    }
}

TEST(ClickPoint, FromTheCentredWindowCorner)
{
    struct Case {
        std::int32_t screenWidth, screenHeight, x, y;
    };
    const Case cases[] = {{1920, 1080, 870, 740}, {1366, 768, 593, 584}, {640, 480, 230, 440}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.screenWidth << "x" << c.screenHeight);
        const ScreenPoint corner = centredOrigin(c.screenWidth, c.screenHeight, 800, 800);
        EXPECT_EQ(wrappingAdd(corner.x, kClickOffsetX), c.x);
        EXPECT_EQ(wrappingAdd(corner.y, kClickOffsetY), c.y);
    }
}

TEST(ClickEvents, ByType)
{
    // mouse_event flags: LEFTDOWN 0x2, LEFTUP 0x4, RIGHTDOWN 0x8, RIGHTUP 0x10.
    const std::vector<std::uint32_t> left{0x2, 0x4};
    const std::vector<std::uint32_t> leftDouble{0x2, 0x4, 0x2, 0x4};
    const std::vector<std::uint32_t> right{0x8, 0x10};
    const std::vector<std::uint32_t> rightDouble{0x8, 0x10, 0x8, 0x10};
    struct Case {
        std::int32_t type;
        const std::vector<std::uint32_t>& events;
    };
    const Case cases[] = {
        {LeftClick, left},   {LeftDoubleClick, leftDouble},
        {RightClick, right}, {RightDoubleClick, rightDouble},
        {0, left},           {1, leftDouble},
        {2, right},          {3, rightDouble},
        {4, left},           {-1, left},
        {INT32_MIN, left},   {INT32_MAX, left},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type);
        const auto events = clickEvents(c.type);
        EXPECT_EQ(std::vector<std::uint32_t>(events.begin(), events.end()), c.events);
    }
}

}  // namespace
