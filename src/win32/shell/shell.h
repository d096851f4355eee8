// shell.h -- the program's window, its procedure, the message loop, and the orderly shutdown.
#pragma once

#include <windows.h>

#include "ports/drawing.h"

// Start-up up to the message loop: true when the loop is to run; otherwise exitCode is the
// program's exit code (E_FAIL, or 0 after a sound-device failure or a close while loading).
bool StartUp(HINSTANCE instance, const char* commandLine, int showCommand, int& exitCode);

HRESULT InitWindow(HINSTANCE instance, int showCommand, HWND* window);
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Reads the frame metrics the windowed size and the screen offset are made of.
void ReadFrameMetrics();

// Starts the idle notification thread on NotificationEvent.
void StartNotificationThread();

// Handles messages and runs frames until WM_QUIT; returns its wParam.
WPARAM RunMessageLoop();
// Frames follow the rate the display reports now; after F6 and a display change.
void RefreshRateChanged();
uint32_t PacedRefreshRate();
// The display's own report by default; 0 when it has none.
using RefreshRateReader = uint32_t (*)();
extern RefreshRateReader ReadRefreshRate;

// The title's buttons; the shell owns them and lends them to the frame and the display.
extern MenuButtonSet MenuButtons;
// The screen may have been drawn over: the next title frame draws every button again.
void ForgetShownButtons();

// CoInitialize for this run of the shell; the next Shutdown undoes it, once.
void InitCom();
// Releases everything once; later calls return at once.
void Shutdown();
// True once Shutdown has run.
bool HasShutDown();
