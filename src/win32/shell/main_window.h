// main_window.h -- the shell's platform handles and the live window position, which the display needs too.
#pragma once

#include <windows.h>

extern HWND MainWindow;
extern HANDLE NotificationEvent;  // waited on by the notification thread; no buffer signals it

// Reads the window rectangle afresh and recomputes ScreenOffset.
void UpdateScreenOffset();
