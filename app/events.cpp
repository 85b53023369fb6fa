#include "app/events.h"

#include <utility>

EventHandler procedure(void (*proc)())
{
    return [proc](EventArgs) -> std::optional<std::int32_t> {
        proc();
        return std::nullopt;
    };
}

EventHandler procedure(void (*proc)(std::int32_t, std::int32_t))
{
    // A missing argument reads as 0 rather than past the end.
    return [proc](EventArgs args) -> std::optional<std::int32_t> {
        proc(args.size() > 0 ? args[0] : 0, args.size() > 1 ? args[1] : 0);
        return std::nullopt;
    };
}

void EventDispatcher::bind(EventBinding binding)
{
    bindings_.push_back(std::move(binding));
}

EventResult EventDispatcher::raise(EventSource source, int event, EventArgs args) const
{
    if (eventHoldCount_ != 0)
        return {};
    for (const EventBinding& b : bindings_) {
        if (b.source != source || b.event != event || !b.handler)
            continue;
        if (std::optional<std::int32_t> value = b.handler(args))
            return {true, *value};
        return {};
    }
    return {};
}
