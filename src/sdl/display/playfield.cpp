// playfield.cpp -- the play screen: the board and the preview composed on their own surfaces,
// then copied to the game area, as the Windows build composes them.
#include "core/game/board.h"
#include "core/game/frame_state.h"
#include "core/game/play_screen.h"
#include "core/log/debug_log.h"
#include "core/shell/screen.h"
#include "ports/drawing.h"
#include "ports/sound.h"
#include "sdl/display/display.h"

namespace {

constexpr int32_t PreviewLeft = 49;
constexpr int32_t PreviewTop = 180;
constexpr int32_t PreviewPixels = 120;
constexpr int32_t PreviewCentre = 2;
constexpr int32_t BoardWidthPixels = BoardColumns * CellPixels;
constexpr int32_t BoardHeightPixels = BoardRows * CellPixels;

// Without a game area nothing reaches the window; the frame loop then waits.
constexpr ResultCode NoScreen = ResultNotInitialized;

// A missing picture leaves its cell out, like the loader's own report of it.
bool BlitCell(SDL_Surface* target, SDL_Surface* picture, int32_t column, int32_t row)
{
    if (picture == nullptr) {
        return true;
    }
    SDL_Rect cell = {column * CellPixels, row * CellPixels, CellPixels, CellPixels};
    return SDL_BlitSurface(picture, nullptr, target, &cell) == 0;
}

SDL_Surface* PictureOf(SDL_Surface* const (&pictures)[BlockPictureCount], int32_t colour)
{
    return colour >= 0 && colour < BlockPictureCount ? pictures[colour] : nullptr;
}

// Cells outside the board (above row 0 after a turn at the top) are left out, not failed.
void DrawTetradCells(const Tetrad& tetrad, SDL_Surface* const (&pictures)[BlockPictureCount])
{
    if (BoardSurface == nullptr) {
        return;
    }
    SDL_Surface* picture = PictureOf(pictures, tetrad.colour);
    for (const TetradCell& cell : tetrad.cells) {
        const int32_t column = tetrad.x + cell.dx;
        const int32_t row = tetrad.y - cell.dy;
        if (column < 0 || column >= BoardColumns || row < 0 || row >= BoardRows) {
            continue;
        }
        if (!BlitCell(BoardSurface, picture, column, row)) {
            WriteDebugLog("Unknown Error Drawing Current Tetrad");
            return;
        }
    }
}

void DrawBoardCells()
{
    if (BoardSurface == nullptr) {
        return;
    }
    for (int32_t row = 0; row < BoardRows; ++row) {
        for (int32_t column = 0; column < BoardColumns; ++column) {
            const int32_t colour = BoardCell(column, row);
            if (colour > EmptyCell && !BlitCell(BoardSurface, PictureOf(BlockSurfaces, colour), column, row)) {
                WriteDebugLog("Error Blitting to Quadrone Board Surface");
                return;
            }
        }
    }
}

void DrawGhostTetrad()
{
    Tetrad ghost;
    if (GhostLandingPlace(CurrentTetrad, ghost)) {
        DrawTetradCells(ghost, GhostBlockSurfaces);
    }
}

void DrawNextTetrad()
{
    if (NextPieceSurface == nullptr) {
        return;
    }
    SDL_FillRect(NextPieceSurface, nullptr, 0);
    SDL_Surface* picture = PictureOf(BlockSurfaces, NextTetrad.colour);
    for (const TetradCell& cell : NextTetrad.cells) {
        if (!BlitCell(NextPieceSurface, picture, cell.dx + PreviewCentre, PreviewCentre - cell.dy)) {
            WriteDebugLog("Unknown Error Drawing Current Tetrad");
            return;
        }
    }
    BlitNextPieceToScreen();
}

}  // namespace

ResultCode DrawPlayScreen()
{
    if (Screen == nullptr) {
        return NoScreen;
    }
    ClearBoardSurface();
    DrawBoardCells();
    AdvanceGhostBlink();
    if (GhostVisible) {
        DrawGhostTetrad();
    }
    DrawTetradCells(CurrentTetrad, BlockSurfaces);
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
        DrawNextTetrad();
    }
    return ResultOk;
}

void ClearBoardSurface()
{
    if (BoardSurface != nullptr) {
        SDL_FillRect(BoardSurface, nullptr, 0);
    }
}

ResultCode BlitBoardToScreen()
{
    if (Screen == nullptr) {
        return NoScreen;
    }
    const SDL_Rect target = {
        ScreenOffset.x + BoardOrigin.x, ScreenOffset.y + BoardOrigin.y, BoardWidthPixels, BoardHeightPixels};
    if (BlitToScreen(BoardSurface, nullptr, target) < 0) {
        WriteDebugLog("Error during board blt vsync");
        return ResultFail;
    }
    return ResultOk;
}

ResultCode BlitNextPieceToScreen()
{
    if (Screen == nullptr) {
        return NoScreen;
    }
    const SDL_Rect target = {ScreenOffset.x + PreviewLeft, ScreenOffset.y + PreviewTop, PreviewPixels, PreviewPixels};
    if (BlitToScreen(NextPieceSurface, nullptr, target) < 0) {
        WriteDebugLog("Error during next piece blt vsync");
        return ResultFail;
    }
    return ResultOk;
}
