// Event delivery: the hold rule, unbound events, arguments in order, and what a delivery answers.
#include "app/events.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

// The adapters take plain function pointers, so the test procedures record into globals.
std::vector<std::string> ran;
std::vector<std::int32_t> feedbackArgs;

void plainProcedure()
{
    ran.push_back("plain");
}
void otherProcedure()
{
    ran.push_back("other");
}
void twoArgProcedure(std::int32_t a, std::int32_t b)
{
    ran.push_back("twoArg");
    feedbackArgs = {a, b};
}

class EventsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ran.clear();
        feedbackArgs.clear();
    }
    EventDispatcher events;
};

TEST_F(EventsTest, PlainProcedureRunsAndAnswersNotHandled)
{
    events.bind({EventSource::点击, ButtonEvent::clicked, procedure(plainProcedure)});

    EXPECT_EQ(events.raise(EventSource::点击, ButtonEvent::clicked), (EventResult{false, 0}));
    EXPECT_EQ(ran, std::vector<std::string>{"plain"});
}

TEST_F(EventsTest, HandlerReturningValueAnswersHandledWithThatValue)
{
    struct Case {
        const char* name;
        std::int32_t value;
    };
    const Case cases[] = {{"zero is still handled", 0},
                          {"positive", 42},
                          {"negative", -7},
                          {"largest", INT32_MAX},
                          {"smallest", INT32_MIN}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EventDispatcher d;
        d.bind({EventSource::标签4, LabelEvent::feedback,
                [v = c.value](EventArgs) -> std::optional<std::int32_t> { return v; }});
        EXPECT_EQ(d.raise(EventSource::标签4, LabelEvent::feedback), (EventResult{true, c.value}));
    }
}

TEST_F(EventsTest, HandlerSeesArgumentsInTheirOrder)
{
    std::vector<std::int32_t> seen;
    events.bind({EventSource::标签4, LabelEvent::feedback, [&](EventArgs args) -> std::optional<std::int32_t> {
                     seen.assign(args.begin(), args.end());
                     return std::nullopt;
                 }});

    const std::array<std::int32_t, 3> args{33001, -1, INT32_MIN};
    events.raise(EventSource::标签4, LabelEvent::feedback, args);
    EXPECT_EQ(seen, (std::vector<std::int32_t>{33001, -1, INT32_MIN}));

    events.raise(EventSource::标签4, LabelEvent::feedback);
    EXPECT_TRUE(seen.empty());
}

TEST_F(EventsTest, TwoArgumentProcedureGetsWParamThenLParam)
{
    events.bind({EventSource::标签4, LabelEvent::feedback, procedure(twoArgProcedure)});

    const std::array<std::int32_t, 2> args{33002, 5};
    EXPECT_EQ(events.raise(EventSource::标签4, LabelEvent::feedback, args), (EventResult{false, 0}));
    EXPECT_EQ(ran, std::vector<std::string>{"twoArg"});
    EXPECT_EQ(feedbackArgs, (std::vector<std::int32_t>{33002, 5}));
}

TEST_F(EventsTest, TwoArgumentProcedureReadsMissingArgumentsAsZero)
{
    events.bind({EventSource::标签4, LabelEvent::feedback, procedure(twoArgProcedure)});

    events.raise(EventSource::标签4, LabelEvent::feedback);
    EXPECT_EQ(feedbackArgs, (std::vector<std::int32_t>{0, 0}));

    const std::array<std::int32_t, 1> one{33001};
    events.raise(EventSource::标签4, LabelEvent::feedback, one);
    EXPECT_EQ(feedbackArgs, (std::vector<std::int32_t>{33001, 0}));
}

TEST_F(EventsTest, UnboundEventsDoNothing)
{
    events.bind({EventSource::点击, ButtonEvent::clicked, procedure(plainProcedure)});
    events.bind({EventSource::MainWindow, WindowEvent::created, procedure(otherProcedure)});

    struct Case {
        const char* name;
        EventSource source;
        int event;
    };
    const Case cases[] = {
        {"same event number, other source", EventSource::停止按钮, ButtonEvent::clicked},
        {"same source, other event number", EventSource::MainWindow, WindowEvent::moved},
        {"resized", EventSource::MainWindow, WindowEvent::resized},
        {"a source nothing is bound to", EventSource::超文本浏览框1, 0},
        {"negative event number", EventSource::点击, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(events.raise(c.source, c.event), (EventResult{false, 0}));
    }
    EXPECT_TRUE(ran.empty());
}

TEST_F(EventsTest, EachBindingRunsOnlyItsOwnHandler)
{
    events.bind({EventSource::点击, ButtonEvent::clicked, procedure(plainProcedure)});
    events.bind({EventSource::停止按钮, ButtonEvent::clicked, procedure(otherProcedure)});

    events.raise(EventSource::停止按钮, ButtonEvent::clicked);
    events.raise(EventSource::点击, ButtonEvent::clicked);
    EXPECT_EQ(ran, (std::vector<std::string>{"other", "plain"}));
}

TEST_F(EventsTest, EmptyHandlerIsSkipped)
{
    events.bind({EventSource::点击, ButtonEvent::clicked, EventHandler{}});
    EXPECT_EQ(events.raise(EventSource::点击, ButtonEvent::clicked), (EventResult{false, 0}));
}

TEST_F(EventsTest, NothingIsDeliveredWhileHeld)
{
    events.bind({EventSource::点击, ButtonEvent::clicked, procedure(plainProcedure)});
    events.bind({EventSource::标签4, LabelEvent::feedback, [](EventArgs) -> std::optional<std::int32_t> { return 9; }});
    EXPECT_EQ(events.eventHoldCount(), 0);

    events.hold();
    events.hold();
    EXPECT_EQ(events.eventHoldCount(), 2);
    EXPECT_EQ(events.raise(EventSource::点击, ButtonEvent::clicked), (EventResult{false, 0}));
    EXPECT_EQ(events.raise(EventSource::标签4, LabelEvent::feedback), (EventResult{false, 0}))
        << "a value-returning handler must not run either";

    events.release();
    EXPECT_EQ(events.eventHoldCount(), 1);
    EXPECT_EQ(events.raise(EventSource::点击, ButtonEvent::clicked), (EventResult{false, 0}));
    EXPECT_TRUE(ran.empty()) << "still held at count 1";

    events.release();
    EXPECT_EQ(events.eventHoldCount(), 0);
    EXPECT_EQ(events.raise(EventSource::标签4, LabelEvent::feedback), (EventResult{true, 9}));
    events.raise(EventSource::点击, ButtonEvent::clicked);
    EXPECT_EQ(ran, std::vector<std::string>{"plain"});
}

TEST_F(EventsTest, UnbindAllRemovesEveryBinding)
{
    events.bind({EventSource::点击, ButtonEvent::clicked, procedure(plainProcedure)});
    events.unbindAll();
    EXPECT_EQ(events.raise(EventSource::点击, ButtonEvent::clicked), (EventResult{false, 0}));
    EXPECT_TRUE(ran.empty());

    events.bind({EventSource::点击, ButtonEvent::clicked, procedure(otherProcedure)});
    events.raise(EventSource::点击, ButtonEvent::clicked);
    EXPECT_EQ(ran, std::vector<std::string>{"other"});
}

}  // namespace
