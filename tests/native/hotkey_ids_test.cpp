// Modifier codes, hotkey identifiers and the order of the two feedback comparisons.
#include "hotkeys/hotkey_ids.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

TEST(ModifierFlags, Table)
{
    struct Case {
        std::int32_t code;
        std::uint32_t flags;
    };
    const Case cases[] = {
        {0, 0},  // none
        {1, 2},  // Ctrl: MOD_CONTROL
        {2, 4},  // Shift: MOD_SHIFT
        {3, 6},  // Ctrl+Shift
        {4, 1},  // Alt: MOD_ALT
        {5, 3},  // Ctrl+Alt
        {6, 5},  // Shift+Alt
        {7, 7},  // other values pass through unchanged
        {8, 8}, {9, 9}, {-1, 0xFFFFFFFFu}, {0x4000, 0x4000}, {0x4001, 0x4001}, {INT32_MIN, 0x80000000u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.code);
        EXPECT_EQ(modifierFlags(c.code), c.flags);
    }
}

TEST(ModifierFlags, NeverAddsNoRepeat)
{
    constexpr std::uint32_t modNoRepeat = 0x4000;
    for (std::int32_t code = -64; code <= 64; ++code) {
        SCOPED_TRACE(testing::Message() << "code " << code);
        const std::uint32_t added = modifierFlags(code) & ~static_cast<std::uint32_t>(code) & modNoRepeat;
        EXPECT_EQ(added, 0u);
    }
    for (std::int32_t code = 0; code <= 6; ++code)
        EXPECT_EQ(modifierFlags(code) & modNoRepeat, 0u) << "code " << code;
}

TEST(HotkeyIdIssuer, IssuesFrom33001AndNeverReuses)
{
    HotkeyIdIssuer issuer;
    EXPECT_EQ(issuer.issuedCount(), 0);
    EXPECT_EQ(issuer.lastHotkeyId(), 0u);
    for (std::uint32_t k = 1; k <= 100; ++k) {
        SCOPED_TRACE(testing::Message() << "call " << k);
        EXPECT_EQ(issuer.issue(), 33000 + k);
        EXPECT_EQ(issuer.issuedCount(), static_cast<std::int32_t>(k));
        EXPECT_EQ(issuer.lastHotkeyId(), 33000 + k);
    }
}

TEST(HotkeyIdIssuer, NothingIsIssuedBeforeTheFirstCall)
{
    const HotkeyIdIssuer issuer;
    for (std::uint64_t id : {0ULL, 33000ULL, 33001ULL, 0xFFFFFFFFULL, (1ULL << 32) + 33001}) {
        SCOPED_TRACE(testing::Message() << "id " << id);
        EXPECT_FALSE(issuer.isIssued(id));
    }
}

TEST(HotkeyIdIssuer, IssuedRange)
{
    HotkeyIdIssuer issuer;
    issuer.issue();  // F10
    issuer.issue();  // F11
    struct Case {
        const char* name;
        std::uint64_t id;
        bool issued;
    };
    const Case cases[] = {
        {"0", 0, false},
        {"just below the first", 33000, false},
        {"first", 33001, true},
        {"last", 33002, true},
        {"just past the last", 33003, false},
        {"largest 32-bit", 0xFFFFFFFFu, false},
        {"2^32 + first must not alias", (1ULL << 32) + 33001, false},
        {"2^32 + last must not alias", (1ULL << 32) + 33002, false},
        {"largest 64-bit", UINT64_MAX, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(issuer.isIssued(c.id), c.issued);
    }
}

TEST(HotkeyIdIssuer, RangeGrowsWithEachCall)
{
    HotkeyIdIssuer issuer;
    issuer.issue();
    EXPECT_TRUE(issuer.isIssued(33001));
    EXPECT_FALSE(issuer.isIssued(33002));
    issuer.issue();
    EXPECT_TRUE(issuer.isIssued(33002));
    EXPECT_TRUE(issuer.isIssued(33001));
}

TEST(DispatchHotkeyFeedback, Comparisons)
{
    struct Case {
        const char* name;
        std::int32_t id, startId, stopId;
        std::vector<std::string> ran;
    };
    const Case cases[] = {
        {"F10", 33001, 33001, 33002, {"start"}},
        {"F11", 33002, 33001, 33002, {"stop"}},
        {"neither", 33003, 33001, 33002, {}},
        {"0 with both registered", 0, 33001, 33002, {}},
        {"F10 refused, F11 still stops", 33002, 0, 33002, {"stop"}},
        {"F11 refused, F10 still starts", 33001, 33001, 0, {"start"}},
        {"equal to both: start then stop", 33001, 33001, 33001, {"start", "stop"}},
        {"0 with both refused: start then stop", 0, 0, 0, {"start", "stop"}},
        {"negative", -1, -1, 33002, {"start"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> ran;
        dispatchHotkeyFeedback(
            c.id, c.startId, c.stopId, [&] { ran.push_back("start"); }, [&] { ran.push_back("stop"); });
        EXPECT_EQ(ran, c.ran);
    }
}

TEST(DispatchHotkeyFeedback, StopIdIsReadAfterStartRan)
{
    std::int32_t startId = 33001, stopId = 33002;
    std::vector<std::string> ran;
    auto stop = [&] { ran.push_back("stop"); };

    // Start makes the stop variable match: stop runs too.
    dispatchHotkeyFeedback(
        33001, startId, stopId,
        [&] {
            ran.push_back("start");
            stopId = 33001;
        },
        stop);
    EXPECT_EQ(ran, (std::vector<std::string>{"start", "stop"}));

    // Start moves the stop variable away from a matching value: stop does not run.
    ran.clear();
    startId = stopId = 33002;
    dispatchHotkeyFeedback(
        33002, startId, stopId,
        [&] {
            ran.push_back("start");
            stopId = 0;
        },
        stop);
    EXPECT_EQ(ran, std::vector<std::string>{"start"});
}

}  // namespace
