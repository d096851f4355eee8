// screen.cpp -- the game area's position, shared by every drawing routine.
#include "core/shell/screen.h"

bool FullScreen = false;
ScreenPoint ScreenOffset = {0, 0};
WindowBounds WindowRectangle = {0, 0, 0, 0};
FrameMetrics WindowFrame = {0, 0, 0};

ScreenPoint ComputeScreenOffset()
{
    if (FullScreen) {
        return {0, 0};
    }
    return {WindowRectangle.left + WindowFrame.frameWidth,
        WindowRectangle.top + WindowFrame.captionHeight + WindowFrame.frameHeight};
}
