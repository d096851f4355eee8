// play_screen.cpp -- what the play screen shows, decided once for every back end.
#include "core/game/play_screen.h"

#include <cstdio>

#include "core/common/random.h"
#include "core/game/frame_state.h"
#include "ports/drawing.h"
#include "ports/sound.h"

namespace {
constexpr uint32_t GhostBlinkMs = 75;
constexpr int32_t GhostMinimumDrop = 4;
constexpr int32_t InterferenceRange = 10000;
constexpr int32_t InterferenceThreshold = 9990;
}  // namespace

ResultCode ComposePlayScreen(const PlayCellPainter& painter)
{
    ClearBoardSurface();
    painter.boardCells();
    AdvanceGhostBlink();
    Tetrad ghost;
    if (GhostVisible && GhostLandingPlace(CurrentTetrad, ghost)) {
        painter.tetrad(ghost, true);
    }
    painter.tetrad(CurrentTetrad, false);
    const ResultCode board = BlitBoardToScreen();
    if (board < 0) {
        return board;
    }
    if (CountersDirty && GameActive) {
        DrawCounters();
    }
    RollForInterference();
    if (SoundIsPlaying(StaticSound)) {
        DrawStatic(true, false);
    } else {
        painter.preview();
    }
    return ResultOk;
}

void AdvanceGhostBlink()
{
    if (GhostTimer > GhostBlinkMs) {
        GhostTimer = 0;
        GhostVisible = !GhostVisible;
    }
}

bool GhostLandingPlace(const Tetrad& tetrad, Tetrad& ghost)
{
    ghost = tetrad;
    bool landed = false;
    while (!landed && ghost.y <= BoardRows) {
        const Tetrad kept = ghost;
        ++ghost.y;
        if (TestTetradPosition(ghost) != PositionFree) {
            ghost = kept;
            landed = true;
        }
    }
    return ghost.y - tetrad.y >= GhostMinimumDrop;
}

void DrawCounters()
{
    const struct {
        int32_t y;
        const char* format;
        uint32_t value;
    } lines[] = {{215, "Score: %u", Score}, {230, "Level: %u", Level}, {245, "Lines: %u", Lines}};
    for (const auto& line : lines) {
        char text[32];
        std::snprintf(text, sizeof text, line.format, line.value);
        DrawScreenText(480, line.y, text, White, Black);
    }
    CountersDirty = false;
}

void RollForInterference()
{
    for (uint32_t rolls = InterferenceRollsDue(); rolls > 0; --rolls) {
        if (Random() % InterferenceRange > InterferenceThreshold) {
            if (!SoundIsPlaying(StaticSound)) {
                PlayEffect(StaticSound, 0, 0);
            }
            return;
        }
    }
}
