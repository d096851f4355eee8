// repaint.cpp -- redrawing the whole current screen: the title, or the background with what lies on it.
#include "core/shell/repaint.h"

#include "core/game/board.h"
#include "core/game/frame.h"
#include "core/game/frame_state.h"
#include "core/game/high_scores.h"

namespace {

void RepaintTitle(MenuButtonSet& buttons)
{
    if (DrawTitleScreen(buttons) == ResultSurfaceLost) {
        RestoreSurfaces(buttons);
    }
}

void RepaintInitials(MenuButtonSet& buttons)
{
    DrawBackground(buttons);
    PromptDirty = true;
    CountersDirty = true;
    UpdateFrame(buttons);
}

// The play and top-five screens; false when there is no background to draw them on.
bool RepaintGameScreen(MenuButtonSet& buttons, int32_t state)
{
    if (!DrawBackground(buttons)) {
        return false;
    }
    CountersDirty = true;
    if (state == StatePlaying) {
        DrawPlayScreen();
    }
    return true;
}

void RepaintPaused(MenuButtonSet& buttons)
{
    if (PausedState == StateTitleMenu) {
        DrawTitleScreen(buttons);
    } else if (PausedState == StateInitials) {
        RepaintInitials(buttons);
    } else {
        RepaintGameScreen(buttons, PausedState);
    }
    DrawControlsScreen();
}

}  // namespace

void RepaintCurrentScreen(MenuButtonSet& buttons)
{
    switch (GameState) {
    case StateTitleMenu: RepaintTitle(buttons); break;
    case StatePlaying:
        DrawBackground(buttons);
        CountersDirty = true;
        DrawPlayScreen();
        break;
    case StateTopFive: RepaintGameScreen(buttons, StateTopFive); break;
    case StateInitials: RepaintInitials(buttons); break;
    case StatePaused: RepaintPaused(buttons); break;
    default: break;
    }
}
