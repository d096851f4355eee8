// effects.cpp -- the spark run over a removed row and the static interference, drawn on the game
// area with the same random draws, in the same order, as the Windows build.
#include "core/common/random.h"
#include "core/display/effect_areas.h"
#include "core/game/board.h"
#include "core/log/debug_log.h"
#include "core/shell/screen.h"
#include "ports/drawing.h"
#include "ports/sound.h"
#include "sdl/display/display.h"

namespace {

// The window is drawn even without the noise picture, so the game's random sequence stays the same.
ResultCode DrawStaticArea(const StaticArea& area)
{
    const int32_t left = Random() % (GameAreaWidth - area.width);
    const int32_t top = Random() % (GameAreaHeight - area.height);
    if (Screen == nullptr || Static1Surface == nullptr) {
        return ResultOk;
    }
    const SDL_Rect source = {left, top, area.width, area.height};
    const SDL_Rect target = {ScreenOffset.x + area.left, ScreenOffset.y + area.top, area.width, area.height};
    const ResultCode result = BlitToScreen(Static1Surface, &source, target);
    if (result < 0) {
        WriteDebugLog(area.failure);
    }
    return result;
}

}  // namespace

// Each spark reaches the window before the pause, as it reaches the Windows screen at once.
void DrawSparks(int32_t row)
{
    PlayEffect(ZapSound, 0, 0);
    for (int32_t x = 0; x < BoardColumns * CellPixels; x += CellPixels) {
        SDL_Surface* spark = SparkSurfaces[Random() % SparkPictureCount];
        if (Screen == nullptr) {
            continue;
        }
        const SDL_Rect cell = {
            ScreenOffset.x + BoardLeft + x, ScreenOffset.y + CellPixels * row + BoardTop, CellPixels, CellPixels};
        if (spark != nullptr && BlitToScreen(spark, nullptr, cell) < 0) {
            WriteDebugLog("Failed to blit spark");
            return;
        }
        ShowChangesNow();
        SDL_Delay(SparkPauseMs);
        FillScreen(cell, Black);
    }
    ShowChangesNow();
}

ResultCode DrawStatic(bool screen1, bool screen3)
{
    if (screen1) {
        const ResultCode result = DrawStaticArea(Screen1);
        if (result < 0) {
            return result;
        }
    }
    if (screen3) {
        const ResultCode result = DrawStaticArea(Screen3);
        if (result < 0) {
            return result;
        }
    }
    return ResultOk;
}
