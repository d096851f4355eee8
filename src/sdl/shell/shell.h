// shell.h -- the SDL program: start-up, its one window, the event loop and the orderly shutdown.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "core/shell/screen.h"
#include "ports/drawing.h"

extern SDL_Window* MainWindow;
// The title's buttons; the shell owns them and lends them to the frame and the display.
extern MenuButtonSet MenuButtons;

// Start-up up to the event loop: true when the loop is to run; otherwise exitCode is the
// program's exit code.
bool StartUp(int argc, char** argv, int& exitCode);
// A single argument "/full" (in any letter case) or "--full" starts full screen.
bool IsFullScreenArguments(int argc, char** argv);

// The window, 640 x 480 inside or the desktop in full screen; false when SDL refuses it.
bool CreateMainWindow();
// The window's own surface, afresh after a new size; false when there is none.
bool LayOutWindow();
// Puts what changed on the game area onto the window, scaled by whole pixels in full screen.
void PresentScreen();
// Shows the area of the window's surface, or all of it, on the screen: SDL's update on the
// desktop, the page's canvas in the browser (window_update_desktop.cpp, window_update_web.cpp).
void UpdateWindowArea(SDL_Surface* surface, const SDL_Rect& area, bool whole);
// A window position in game-area pixels.
ScreenPoint GameAreaPoint(int32_t x, int32_t y);
// The display's refresh rate; 0 when it does not say.
uint32_t ReportedRefreshRate();

// A press of the left button came: the next frame sees the button down even if it was let go.
void NoteLeftButtonPress();
// A frame has run: a press before it is no news to the next one.
void ForgetLeftButtonPress();

// The close box, Alt+F4 and Quit: the table is saved and the music stops, as on Windows.
void CloseGame();
// Handles events and runs a frame per refresh until the window closes.
void RunEventLoop();
// One pass of the loop for the browser, where nothing may wait: the events that came, a frame
// while the game is active, and the screen shown. False once the window has closed.
bool RunLoopPass();
// Frames follow the rate the display reports now.
void RefreshRateChanged();
// The screen may have been drawn over: the next title frame draws every button again.
void ForgetShownButtons();

// Releases everything once; later calls return at once.
void Shutdown();
