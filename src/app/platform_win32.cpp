// platform_win32.cpp -- the clock, the mouse, the messages the game posts to its window, and
// the music switch.
#include "platform/platform.h"

#include <windows.h>

#include "audio/music_stream_win32.h"
#include "platform/main_window_win32.h"

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

void ResumeMusic()
{
    GameMusic.Play();
}

void PauseMusic()
{
    GameMusic.Stop();
}
