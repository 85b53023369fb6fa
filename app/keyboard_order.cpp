#include "app/keyboard_order.h"

#include <algorithm>

std::vector<std::size_t> keyboardOrder(std::span<const TabCandidate> records)
{
    std::vector<std::size_t> order;
    for (std::size_t i = records.size(); i-- > 0;) {
        const TabCandidate& r = records[i];
        if (r.visible && r.enabled && r.tabStop && !r.isTimer)
            order.push_back(i);
    }
    // Stable, so equal keys keep the last-record-first order built above.
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return records[a].tabOrder < records[b].tabOrder; });
    return order;
}

std::optional<std::size_t> nextInKeyboardOrder(const std::vector<std::size_t>& order, std::size_t current,
                                               bool backwards)
{
    auto at = std::find(order.begin(), order.end(), current);
    if (at == order.end())
        return std::nullopt;
    std::size_t pos = static_cast<std::size_t>(at - order.begin());
    std::size_t n = order.size();
    return order[backwards ? (pos + n - 1) % n : (pos + 1) % n];
}
