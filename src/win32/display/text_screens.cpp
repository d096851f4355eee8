// text_screens.cpp -- title screen and its buttons, controls picture and the top five.
#include "ports/drawing.h"

#include "core/display/title_buttons.h"
#include "core/display/top_five_text.h"
#include "core/shell/screen.h"
#include "win32/display/display.h"

namespace {

constexpr ResultCode NoScreen = ResultNotInitialized;

RECT GameAreaRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return {ScreenOffset.x + left, ScreenOffset.y + top, ScreenOffset.x + right, ScreenOffset.y + bottom};
}

// Without its picture the title screen is black, so no earlier screen shows through the buttons.
HRESULT DrawTitlePicture()
{
    RECT area = GameAreaRect(0, 0, GameAreaWidth, GameAreaHeight);
    if (TitleScreenSurface != nullptr) {
        return PrimarySurface->Blt(&area, TitleScreenSurface, nullptr, DDBLT_WAIT, nullptr);
    }
    DDBLTFX fx = {};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 0;
    return PrimarySurface->Blt(&area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

}  // namespace

bool DrawBackground(MenuButtonSet& buttons)
{
    if (BackgroundSurface == nullptr) {
        return false;
    }
    if (PrimarySurface == nullptr) {
        return true;
    }
    RECT area = GameAreaRect(0, 0, GameAreaWidth, GameAreaHeight);
    if (PrimarySurface->Blt(&area, BackgroundSurface, nullptr, DDBLT_WAIT, nullptr) == DDERR_SURFACELOST) {
        RestoreSurfaces(buttons);
    }
    return true;
}

ResultCode DrawButton(MenuButton button, int32_t state)
{
    if (state < ButtonNormal || state > ButtonPressed || button.image[state] == nullptr) {
        return ResultOk;
    }
    if (PrimarySurface == nullptr) {
        return NoScreen;
    }
    int32_t width = 0;
    int32_t height = 0;
    GetSurfaceSize(button.image[state], width, height);
    RECT target = GameAreaRect(button.x, button.y, button.x + width, button.y + height);
    const HRESULT result = PrimarySurface->Blt(&target, button.image[state], nullptr, DDBLT_WAIT, nullptr);
    return FAILED(result) ? result : ResultOk;
}

ResultCode DrawTitleScreen(const MenuButtonSet& buttons)
{
    if (PrimarySurface == nullptr) {
        return NoScreen;
    }
    const HRESULT picture = DrawTitlePicture();
    if (FAILED(picture)) {
        return picture;
    }
    return DrawTitleButtons(buttons);
}

void DrawControlsScreen()
{
    if (PrimarySurface == nullptr || ControlsSurface == nullptr) {
        return;
    }
    RECT target = GameAreaRect(80, 60, 560, 420);
    PrimarySurface->Blt(&target, ControlsSurface, nullptr, DDBLT_WAIT, nullptr);
}

void DrawTopFive()
{
    if (PrimarySurface == nullptr) {
        return;
    }
    if (TopScoresSurface != nullptr) {
        RECT plate = GameAreaRect(234, 136, 406, 289);
        PrimarySurface->Blt(&plate, TopScoresSurface, nullptr, DDBLT_WAIT, nullptr);
    }
    DrawTopFiveText();
}
