// message_box.cpp -- ShowMessageBox as SDL's modal box, over the game window once there is one.
#include "ports/message_box.h"

#include "sdl/shell/shell.h"

void ShowMessageBox(const char* text, const char* caption)
{
    SDL_ShowSimpleMessageBox(0, caption, text, MainWindow);
}
