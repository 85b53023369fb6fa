// What writing the timer's period does to the Windows timer behind it.
#include "clicker/timer_period.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

std::ostream& operator<<(std::ostream& os, const PeriodChange& c)
{
    return os << "{changed " << c.changed << ", period " << c.period << ", kill " << c.killTimer << ", set "
              << c.setTimer << "}";
}

namespace {

TEST(PlanPeriodChange, Cases)
{
    struct Case {
        const char* name;
        std::int32_t stored;
        bool active;
        std::int32_t requested;
        PeriodChange expected;
    };
    const Case cases[] = {
        {"negative while stopped is 0: nothing", 0, false, -50, {false, 0, false, false}},
        {"smallest while stopped: nothing", 0, false, INT32_MIN, {false, 0, false, false}},
        {"negative while running stops", 1000, true, -1, {true, 0, true, false}},
        {"smallest while running stops", 1000, true, INT32_MIN, {true, 0, true, false}},
        {"same period leaves the countdown alone", 1000, true, 1000, {false, 1000, false, false}},
        {"0 while stopped: nothing", 0, false, 0, {false, 0, false, false}},
        {"first start sets without killing", 0, false, 1000, {true, 1000, false, true}},
        {"new period while running restarts", 1000, true, 500, {true, 500, true, true}},
        {"new period, no timer set: set only", 500, false, 1000, {true, 1000, false, true}},
        {"0 while running kills, sets nothing", 1000, true, 0, {true, 0, true, false}},
        {"0 with no timer set: store only", 1000, false, 0, {true, 0, false, false}},
        {"largest period", 1, true, INT32_MAX, {true, INT32_MAX, true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(planPeriodChange(c.stored, c.active, c.requested), c.expected);
    }
}

// A timer control that follows the plans, to check the sequence of a session.
struct FakeTimer {
    std::int32_t period = 0;
    bool active = false;
    int sets = 0, kills = 0;

    void write(std::int32_t v)
    {
        const PeriodChange c = planPeriodChange(period, active, v);
        if (!c.changed)
            return;
        period = c.period;
        if (c.killTimer)
            ++kills;
        if (c.setTimer)
            ++sets;
        active = c.setTimer;
    }
};

TEST(PlanPeriodChange, StartStopSequence)
{
    struct Step {
        const char* name;
        std::int32_t write;
        std::int32_t period;
        bool active;
        int sets, kills;
    };
    const Step steps[] = {
        {"stop while idle", 0, 0, false, 0, 0},
        {"start with 1000", 1000, 1000, true, 1, 0},
        {"start again, same text", 1000, 1000, true, 1, 0},
        {"start with 500", 500, 500, true, 2, 1},
        {"stop", 0, 0, false, 2, 2},
        {"stop again", 0, 0, false, 2, 2},
        {"start with -5: armed without timer", -5, 0, false, 2, 2},
        {"start with 500 again", 500, 500, true, 3, 2},
        {"start with -5 while running", -5, 0, false, 3, 3},
    };
    FakeTimer timer;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        timer.write(s.write);
        EXPECT_EQ(timer.period, s.period);
        EXPECT_EQ(timer.active, s.active);
        EXPECT_EQ(timer.sets, s.sets);
        EXPECT_EQ(timer.kills, s.kills);
    }
}

}  // namespace
