// window_update_desktop.cpp -- the desktop shows the window's surface through SDL.
#include "sdl/shell/shell.h"

void UpdateWindowArea(SDL_Surface*, const SDL_Rect& area, bool whole)
{
    if (whole) {
        SDL_UpdateWindowSurface(MainWindow);
    } else {
        SDL_UpdateWindowSurfaceRects(MainWindow, &area, 1);
    }
}
