// Which controls Tab visits, in what order, and where Tab and Shift+Tab go from each.
#include "app/keyboard_order.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <vector>

namespace {

TabCandidate focusable(std::int32_t tabOrder = 0)
{
    return {true, true, true, false, tabOrder};
}

TEST(KeyboardOrder, SelectsAndSortsRecords)
{
    TabCandidate invisible = focusable();
    invisible.visible = false;
    TabCandidate disabled = focusable();
    disabled.enabled = false;
    TabCandidate noTabStop = focusable();
    noTabStop.tabStop = false;
    TabCandidate timer = focusable();
    timer.isTimer = true;

    struct Case {
        const char* name;
        std::vector<TabCandidate> records;
        std::vector<std::size_t> expected;
    };
    const Case cases[] = {
        {"no records", {}, {}},
        {"equal tabOrder: last record first", {focusable(), focusable(), focusable()}, {2, 1, 0}},
        {"invisible left out", {focusable(), invisible, focusable()}, {2, 0}},
        {"disabled left out", {disabled, focusable()}, {1}},
        {"without tabStop left out", {focusable(), noTabStop}, {0}},
        {"a timer never counts, even visible with tabStop", {timer, focusable(), timer}, {1}},
        {"nothing focusable", {invisible, disabled, noTabStop, timer}, {}},
        {"ascending tabOrder", {focusable(2), focusable(0), focusable(1)}, {1, 2, 0}},
        {"negative tabOrder comes first", {focusable(0), focusable(-3), focusable(5)}, {1, 0, 2}},
        {"ties within each tabOrder from the last record",
         {focusable(1), focusable(0), focusable(1), focusable(0), focusable(1)},
         {3, 1, 4, 2, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(keyboardOrder(c.records), c.expected);
    }
}

TEST(KeyboardOrder, NextWrapsBothWays)
{
    const std::vector<std::size_t> order{11, 10, 8, 5};
    struct Case {
        std::size_t current;
        bool backwards;
        std::size_t expected;
    };
    const Case cases[] = {
        {11, false, 10}, {10, false, 8}, {8, false, 5}, {5, false, 11},  // last wraps to first
        {11, true, 5},   {10, true, 11}, {8, true, 10}, {5, true, 8},    // first wraps to last
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.current << (c.backwards ? " backwards" : " forwards"));
        EXPECT_EQ(nextInKeyboardOrder(order, c.current, c.backwards), std::optional<std::size_t>{c.expected});
    }
}

TEST(KeyboardOrder, SingleEntryLeadsToItself)
{
    const std::vector<std::size_t> order{3};
    EXPECT_EQ(nextInKeyboardOrder(order, 3, false), std::optional<std::size_t>{3});
    EXPECT_EQ(nextInKeyboardOrder(order, 3, true), std::optional<std::size_t>{3});
}

TEST(KeyboardOrder, NothingForARecordNotInTheOrder)
{
    const std::vector<std::size_t> order{11, 10, 8, 5};
    for (bool backwards : {false, true}) {
        SCOPED_TRACE(backwards ? "backwards" : "forwards");
        EXPECT_EQ(nextInKeyboardOrder(order, 4, backwards), std::nullopt) << "a label";
        EXPECT_EQ(nextInKeyboardOrder(order, 9, backwards), std::nullopt) << "the timer";
        EXPECT_EQ(nextInKeyboardOrder({}, 0, backwards), std::nullopt) << "empty order";
    }
}

}  // namespace
