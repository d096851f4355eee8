// platform.cpp -- the clock, the mouse, the messages the game posts to its window, and
// the music switch.
#include "ports/platform.h"

#include <windows.h>

#include "win32/audio/music_stream.h"
#include "win32/shell/main_window.h"

uint32_t ClockNow()
{
    return timeGetTime();
}

ScreenPoint CursorPosition()
{
    POINT point = {0, 0};
    GetCursorPos(&point);
    return {point.x, point.y};
}

bool LeftButtonDown()
{
    return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
}

void PostRepaint()
{
    PostMessageA(MainWindow, WM_PAINT, 0, 0);
}

void PostClose()
{
    PostMessageA(MainWindow, WM_CLOSE, 0, 0);
}
