// Clicking on and off: the click point, the running flag and the tick.
#pragma once
#include <cstdint>
#include <string>

extern std::int32_t isRunning;  // 1 while clicking is on
extern std::int32_t clickX;     // the click point, in screen pixels
extern std::int32_t clickY;

void startClicking();
void stopClicking();
void onClickTimer();

// The interval box's text as code page 936 bytes, whatever the system's code page is; a
// character that code page cannot hold becomes '?', which ends the number.
std::string intervalTextBytes();
