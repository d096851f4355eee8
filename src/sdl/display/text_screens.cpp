// text_screens.cpp -- the title screen and its buttons, the background, the controls picture and
// the top five, laid out as the Windows build lays them out.
#include <cstdio>

#include "core/game/high_scores.h"
#include "core/shell/screen.h"
#include "ports/drawing.h"
#include "sdl/display/display.h"

namespace {

constexpr int32_t TableTop = 195;
constexpr int32_t TableRowHeight = 15;
constexpr int32_t NameLeft = 255;
constexpr int32_t ScoreLeft = 345;

SDL_Rect GameAreaRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return {ScreenOffset.x + left, ScreenOffset.y + top, right - left, bottom - top};
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
    BlitToScreen(ControlsSurface, nullptr, GameAreaRect(80, 60, 560, 420));
}

void DrawTopFive()
{
    BlitToScreen(TopScoresSurface, nullptr, GameAreaRect(234, 136, 406, 289));
    DrawCenteredText("Top Five", 155, White, HeadingRed);
    for (int32_t row = 0; row < HighScoreRows; ++row) {
        DrawTableRow(row, HighScoreTable[row]);
    }
}
