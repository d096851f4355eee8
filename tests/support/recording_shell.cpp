// recording_shell.cpp -- a clock, cursor and mouse button the test sets; posted messages recorded.
#include "ports/platform.h"
#include "test_support.h"

namespace {
uint32_t Clock = 0;
ScreenPoint Cursor = {0, 0};
bool ButtonDown = false;
}  // namespace

void SetClock(uint32_t now)
{
    Clock = now;
}

void SetMouse(int32_t x, int32_t y, bool leftButtonDown)
{
    Cursor = {x, y};
    ButtonDown = leftButtonDown;
}

uint32_t ClockNow()
{
    return Clock;
}
ScreenPoint CursorPosition()
{
    return Cursor;
}
bool LeftButtonDown()
{
    return ButtonDown;
}
void PostRepaint()
{
    RecordCall("PostRepaint");
}
void PostClose()
{
    RecordCall("PostClose");
}
void SwitchDisplayMode()
{
    RecordCall("SwitchDisplayMode");
}
