// The program's only source of synthetic input.
#pragma once
#include <cstdint>

#include "clicker/click_plan.h"

// Puts the pointer on (x, y) and injects the button events of one click there, without a
// pause and without moving the pointer back.
void simulateMouseClick(std::int32_t x, std::int32_t y, std::int32_t type = LeftClick);
