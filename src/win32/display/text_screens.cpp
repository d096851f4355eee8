// text_screens.cpp -- title screen and its buttons, controls picture and the top five.
#include "ports/drawing.h"

#include <cstdio>

#include "core/game/high_scores.h"
#include "core/shell/screen.h"
#include "win32/display/display.h"

namespace {

constexpr ResultCode NoScreen = ResultNotInitialized;
constexpr int32_t TableTop = 195;
constexpr int32_t TableRowHeight = 15;
constexpr int32_t NameLeft = 255;
constexpr int32_t ScoreLeft = 345;

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

// The stored name is drawn only up to the end of its field, zero or not.
void DrawTableRow(int32_t row, const HighScoreEntry& entry)
{
    const int32_t y = TableTop + TableRowHeight * row;
    char name[HighScoreNameSize + 1] = {};
    for (int i = 0; i < HighScoreNameSize && entry.name[i] != '\0'; ++i) {
        name[i] = entry.name[i];
    }
    DrawScreenText(NameLeft, y, name, Yellow, TransparentBackground);
    char score[16];
    std::snprintf(score, sizeof score, "%i", static_cast<int>(entry.score));
    DrawScreenText(ScoreLeft, y, score, Yellow, TransparentBackground);
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
    for (const MenuButton& button : buttons) {
        const ResultCode result = DrawButton(button, ButtonNormal);
        if (result < 0) {
            return result;
        }
    }
    return ResultOk;
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
    DrawCenteredText("Top Five", 155, White, HeadingRed);
    for (int32_t row = 0; row < HighScoreRows; ++row) {
        DrawTableRow(row, HighScoreTable[row]);
    }
}
