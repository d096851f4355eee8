// main_window_win32.h -- the shell's platform handles that other subsystems need.
#pragma once

#include <windows.h>

extern HWND MainWindow;
extern HANDLE NotificationEvent;   // waited on by the notification thread; no buffer signals it
