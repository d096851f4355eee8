// repaint.cpp -- redrawing the whole current screen when the window is painted.
#include "core/game/board.h"
#include "core/game/frame.h"
#include "core/game/frame_state.h"
#include "core/game/high_scores.h"
#include "core/shell/screen.h"
#include "ports/drawing.h"
#include "win32/display/display.h"
#include "win32/shell/shell.h"

namespace {

void BlitBackground()
{
    if (BackgroundSurface == nullptr) {
        return;
    }
    RECT area = {ScreenOffset.x, ScreenOffset.y, ScreenOffset.x + GameAreaWidth, ScreenOffset.y + GameAreaHeight};
    if (PrimarySurface->Blt(&area, BackgroundSurface, nullptr, DDBLT_WAIT, nullptr) == DDERR_SURFACELOST) {
        RestoreSurfaces(MenuButtons);
    }
}

void RepaintTitle()
{
    if (DrawTitleScreen(MenuButtons) == ResultSurfaceLost) {
        RestoreSurfaces(MenuButtons);
    }
}

void RepaintInitials()
{
    BlitBackground();
    PromptDirty = true;
    CountersDirty = true;
    UpdateFrame(MenuButtons);
}

// The play and top-five screens; false when there is no background to draw them on.
bool RepaintGameScreen(int32_t state)
{
    if (BackgroundSurface == nullptr) {
        return false;
    }
    BlitBackground();
    CountersDirty = true;
    if (state == StatePlaying) {
        DrawPlayScreen();
    }
    return true;
}

void RepaintPaused()
{
    if (PausedState == StateTitleMenu) {
        DrawTitleScreen(MenuButtons);
    } else if (PausedState == StateInitials) {
        RepaintInitials();
    } else {
        RepaintGameScreen(PausedState);
    }
    DrawControlsScreen();
}

void RepaintState()
{
    switch (GameState) {
    case StateTitleMenu: RepaintTitle(); break;
    case StatePlaying:
        BlitBackground();
        CountersDirty = true;
        DrawPlayScreen();
        break;
    case StateTopFive: RepaintGameScreen(StateTopFive); break;
    case StateInitials: RepaintInitials(); break;
    case StatePaused: RepaintPaused(); break;
    default: break;
    }
}

}  // namespace

void RepaintScreen()
{
    ShowCursor(FALSE);
    ForgetShownButtons();
    ScreenOffset = ComputeScreenOffset();
    if (PrimarySurface != nullptr) {
        RepaintState();
    }
    LastFrameTime = timeGetTime();
    ShowCursor(TRUE);
}
