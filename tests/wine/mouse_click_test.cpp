// simulateMouseClick as the system sees it: the button events that enter the input stream,
// where they act, and where the pointer is left.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <vector>

#include "clicker/mouse_click.h"
#include "support.h"

namespace {

struct ClickCase {
    std::optional<std::int32_t> type;  // none: the default argument
    std::vector<WPARAM> buttons;
};

void PrintTo(const ClickCase& c, std::ostream* os)
{
    *os << (c.type ? std::to_string(*c.type) : std::string("default"));
}

const std::vector<WPARAM> kLeftClick{WM_LBUTTONDOWN, WM_LBUTTONUP};
const std::vector<WPARAM> kLeftDouble{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP};
const std::vector<WPARAM> kRightClick{WM_RBUTTONDOWN, WM_RBUTTONUP};
const std::vector<WPARAM> kRightDouble{WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP};

std::vector<SeenButton> expectedAt(const std::vector<WPARAM>& buttons, POINT at)
{
    std::vector<SeenButton> out;
    for (WPARAM b : buttons)
        out.push_back({b, at, LLMHF_INJECTED});
    return out;
}

// The clicks land on a window of our own, where a right click opens nothing.
class MouseClickTest : public testing::Test {
protected:
    void SetUp() override
    {
        target_ = createPlainWindow(WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, {400, 300, 800, 700});
        ASSERT_TRUE(target_);
        ASSERT_TRUE(watcher_.installed());
        pumpFor(50);
        watcher_.clear();
    }
    void TearDown() override
    {
        pumpWaitingMessages();
        if (target_)
            DestroyWindow(target_);
        pumpWaitingMessages();
    }

    HWND target_ = nullptr;
    MouseButtonWatcher watcher_;
};

class ClickTypes : public MouseClickTest, public testing::WithParamInterface<ClickCase> {};

TEST_P(ClickTypes, InjectsExactlyTheButtonsOfTheTypeAtThePointAndLeavesThePointerThere)
{
    const POINT at{517, 433};
    SetCursorPos(430, 320);  // elsewhere on our window
    pumpFor(30);
    watcher_.clear();

    if (GetParam().type)
        simulateMouseClick(at.x, at.y, *GetParam().type);
    else
        simulateMouseClick(at.x, at.y);

    const auto seen = watcher_.waitFor(GetParam().buttons.size());
    EXPECT_EQ(seen, expectedAt(GetParam().buttons, at)) << "seen: " << describe(seen);
    POINT now{};
    GetCursorPos(&now);
    EXPECT_EQ(now.x, at.x);
    EXPECT_EQ(now.y, at.y);
}

INSTANTIATE_TEST_SUITE_P(AllTypes, ClickTypes,
                         testing::Values(ClickCase{std::nullopt, kLeftClick}, ClickCase{0, kLeftClick},
                                         ClickCase{1, kLeftDouble}, ClickCase{2, kRightClick},
                                         ClickCase{3, kRightDouble}, ClickCase{4, kLeftClick},
                                         ClickCase{-1, kLeftClick}));

TEST_F(MouseClickTest, EachCallSetsThePointerAgainBeforeItsButtons)
{
    const POINT first{600, 500}, second{450, 650};
    simulateMouseClick(first.x, first.y, LeftClick);
    const auto afterFirst = watcher_.waitFor(2);
    EXPECT_EQ(afterFirst, expectedAt(kLeftClick, first)) << describe(afterFirst);

    // The user moves the mouse between two ticks; the next call takes the pointer back.
    SetCursorPos(700, 350);
    pumpFor(30);
    watcher_.clear();
    simulateMouseClick(first.x, first.y, LeftDoubleClick);
    auto seen = watcher_.waitFor(4);
    EXPECT_EQ(seen, expectedAt(kLeftDouble, first)) << describe(seen);

    // And straight on to another point, nothing restored in between.
    watcher_.clear();
    simulateMouseClick(second.x, second.y, RightClick);
    seen = watcher_.waitFor(2);
    EXPECT_EQ(seen, expectedAt(kRightClick, second)) << describe(seen);
    POINT now{};
    GetCursorPos(&now);
    EXPECT_EQ(now.x, second.x);
    EXPECT_EQ(now.y, second.y);
}

}  // namespace
