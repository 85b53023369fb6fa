// Event delivery: the form binds handlers to (source, event number) pairs, and the shell
// raises events through one dispatcher. No Windows here, so the hold rule is testable anywhere.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

// MainWindow, then the twelve controls of the form in record order.
enum class EventSource : int {
    MainWindow,
    标签7,
    标签6,
    标签5,
    标签2,
    标签4,
    停止按钮,
    标签3,
    标签1,
    计时编辑框,
    时钟1,
    点击,
    超文本浏览框1,
};

// Event numbers within the kind of their source.
namespace WindowEvent {
constexpr int created = 0, moved = 1, resized = 2;
}
namespace ButtonEvent {
constexpr int clicked = 0;
}
namespace TimerEvent {
constexpr int periodElapsed = 0;
}
namespace LabelEvent {
constexpr int feedback = 0;
}

struct EventResult {
    bool handled = false;    // a handler ran and returned a value
    std::int32_t value = 0;  // that value; 0 when not handled
    bool operator==(const EventResult&) const = default;
};

using EventArgs = std::span<const std::int32_t>;
// A handler may answer a value; the program's own procedures answer none.
using EventHandler = std::function<std::optional<std::int32_t>(EventArgs)>;

// Adapters that turn the program's plain procedures into handlers.
EventHandler procedure(void (*proc)());
EventHandler procedure(void (*proc)(std::int32_t, std::int32_t));

struct EventBinding {
    EventSource source;
    int event;
    EventHandler handler;
};

class EventDispatcher {
public:
    void bind(EventBinding binding);
    void unbindAll() { bindings_.clear(); }

    // Runs the bound handler unless events are held or nothing is bound.
    EventResult raise(EventSource source, int event, EventArgs args = {}) const;

    // Events are delivered only while the hold count is 0.
    void hold() { ++eventHoldCount_; }
    void release() { --eventHoldCount_; }
    int eventHoldCount() const { return eventHoldCount_; }

private:
    std::vector<EventBinding> bindings_;
    int eventHoldCount_ = 0;
};
