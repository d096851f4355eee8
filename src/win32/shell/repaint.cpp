// repaint.cpp -- redrawing the whole current screen when the window is painted.
#include "core/shell/repaint.h"
#include "core/game/frame_state.h"
#include "core/shell/screen.h"
#include "win32/display/display.h"
#include "win32/shell/shell.h"

void RepaintScreen()
{
    ShowCursor(FALSE);
    ForgetShownButtons();
    ScreenOffset = ComputeScreenOffset();
    if (PrimarySurface != nullptr) {
        RepaintCurrentScreen(MenuButtons);
    }
    LastFrameTime = timeGetTime();
    ShowCursor(TRUE);
}
