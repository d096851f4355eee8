// text_screens.cpp -- the title screen and its buttons, the background, the controls picture and
// the top five, laid out as the Windows build lays them out.
#include "core/display/title_buttons.h"
#include "core/display/top_five_text.h"
#include "core/shell/screen.h"
#include "ports/drawing.h"
#include "sdl/display/display.h"

namespace {

SDL_Rect GameAreaRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return {ScreenOffset.x + left, ScreenOffset.y + top, right - left, bottom - top};
}

}  // namespace

bool DrawBackground(MenuButtonSet&)
{
    if (BackgroundSurface == nullptr) {
        return false;
    }
    BlitToScreen(BackgroundSurface, nullptr, GameAreaRect(0, 0, GameAreaWidth, GameAreaHeight));
    return true;
}

ResultCode DrawButton(MenuButton button, int32_t state)
{
    SDL_Surface* picture = ButtonPicture(button, state);
    if (picture == nullptr) {
        return ResultOk;
    }
    return BlitToScreen(
        picture, nullptr, GameAreaRect(button.x, button.y, button.x + picture->w, button.y + picture->h));
}

// Without its picture the title screen is black, so no earlier screen shows through the buttons.
ResultCode DrawTitleScreen(const MenuButtonSet& buttons)
{
    const SDL_Rect area = GameAreaRect(0, 0, GameAreaWidth, GameAreaHeight);
    if (TitleScreenSurface != nullptr) {
        BlitToScreen(TitleScreenSurface, nullptr, area);
    } else {
        FillScreen(area, Black);
    }
    return DrawTitleButtons(buttons);
}

void DrawControlsScreen()
{
    BlitToScreen(ControlsSurface, nullptr, GameAreaRect(80, 60, 560, 420));
}

void DrawTopFive()
{
    BlitToScreen(TopScoresSurface, nullptr, GameAreaRect(234, 136, 406, 289));
    DrawTopFiveText();
}
