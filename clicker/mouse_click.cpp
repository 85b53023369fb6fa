#include "clicker/mouse_click.h"

#include <windows.h>

void simulateMouseClick(std::int32_t x, std::int32_t y, std::int32_t type)
{
    SetCursorPos(x, y);  // not checked: the events then act wherever the pointer is
    // Neither MOVE nor ABSOLUTE is set, so dx and dy move nothing; they only ride along.
    for (std::uint32_t flag : clickEvents(type))
        mouse_event(flag, static_cast<DWORD>(x), static_cast<DWORD>(y), 0, 0);
}
