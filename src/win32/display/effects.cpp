// effects.cpp -- the spark run over a removed row and the static interference.
#include "ports/drawing.h"

#include "core/common/random.h"
#include "core/display/effect_areas.h"
#include "core/game/board.h"
#include "core/log/debug_log.h"
#include "core/shell/screen.h"
#include "ports/sound.h"
#include "win32/display/display.h"
#include "win32/shell/main_window.h"

namespace {

void FillBlack(RECT& cell)
{
    DDBLTFX fx = {};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 0;
    PrimarySurface->Blt(&cell, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

// The window is drawn even without the noise picture, so the game's random sequence stays the same.
HRESULT DrawStaticArea(const StaticArea& area)
{
    const int32_t left = Random() % (GameAreaWidth - area.width);
    const int32_t top = Random() % (GameAreaHeight - area.height);
    if (PrimarySurface == nullptr || Static1Surface == nullptr) {
        return DD_OK;
    }
    RECT source = {left, top, left + area.width, top + area.height};
    RECT target = {ScreenOffset.x + area.left, ScreenOffset.y + area.top, ScreenOffset.x + area.left + area.width,
        ScreenOffset.y + area.top + area.height};
    const HRESULT result = PrimarySurface->Blt(&target, Static1Surface, &source, DDBLT_WAIT, nullptr);
    if (FAILED(result)) {
        WriteDebugLog(area.failure);
    }
    return result;
}

}  // namespace

// Without a screen the spark pictures are still drawn by lot, so the game's random sequence stays the same.
void DrawSparks(int32_t row)
{
    PlayEffect(ZapSound, 0, 0);
    UpdateScreenOffset();
    for (int32_t x = 0; x < BoardColumns * CellPixels; x += CellPixels) {
        IDirectDrawSurface7* spark = SparkSurfaces[Random() % SparkPictureCount];
        if (PrimarySurface == nullptr) {
            continue;
        }
        const int32_t left = ScreenOffset.x + BoardLeft + x;
        const int32_t top = ScreenOffset.y + CellPixels * row + BoardTop;
        RECT cell = {left, top, left + CellPixels, top + CellPixels};
        if (spark != nullptr &&
            FAILED(PrimarySurface->Blt(&cell, spark, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr))) {
            WriteDebugLog("Failed to blit spark");
            return;
        }
        Sleep(SparkPauseMs);
        FillBlack(cell);
    }
}

ResultCode DrawStatic(bool screen1, bool screen3)
{
    ScreenOffset = ComputeScreenOffset();
    if (screen1) {
        const HRESULT result = DrawStaticArea(Screen1);
        if (FAILED(result)) {
            return result;
        }
    }
    if (screen3) {
        const HRESULT result = DrawStaticArea(Screen3);
        if (FAILED(result)) {
            return result;
        }
    }
    return ResultOk;
}
