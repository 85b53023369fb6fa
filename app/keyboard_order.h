// The order in which Tab and Shift+Tab visit the controls, and where the first focus goes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

struct TabCandidate {
    bool visible = true;
    bool enabled = true;
    bool tabStop = false;
    bool isTimer = false;
    std::int32_t tabOrder = 0;
};

// Record indices in keyboard order: focusable controls by ascending tabOrder, ties broken
// from the last record to the first.
std::vector<std::size_t> keyboardOrder(std::span<const TabCandidate> records);

// The record that Tab (or Shift+Tab when backwards) moves to from `current`, wrapping at
// both ends; nothing when `current` is not in the order.
std::optional<std::size_t> nextInKeyboardOrder(const std::vector<std::size_t>& order, std::size_t current,
                                               bool backwards);
