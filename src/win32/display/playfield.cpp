// playfield.cpp -- the play screen: board, ghost, falling tetrad, preview and counters.
#include "win32/display/playfield.h"
#include "ports/drawing.h"

#include "core/game/board.h"
#include "core/game/frame_state.h"
#include "core/game/play_screen.h"
#include "core/log/debug_log.h"
#include "core/shell/screen.h"
#include "ports/sound.h"
#include "win32/display/display.h"

namespace {

constexpr int32_t PreviewLeft = 49;
constexpr int32_t PreviewTop = 180;
constexpr int32_t PreviewPixels = 120;
constexpr int32_t PreviewCentre = 2;
constexpr int32_t BoardWidthPixels = BoardColumns * CellPixels;
constexpr int32_t BoardHeightPixels = BoardRows * CellPixels;

// Without a primary surface nothing reaches the screen; the frame loop then waits.
constexpr ResultCode NoScreen = ResultNotInitialized;

// Set when a blit of the play screen met a lost surface. Only the board's screen blit has its
// result returned, so without this a lost picture would fail (and log) every frame, unrestored.
bool SurfaceLost = false;

HRESULT NoteLoss(HRESULT result)
{
    SurfaceLost = SurfaceLost || result == DDERR_SURFACELOST;
    return result;
}

RECT CellRect(int32_t column, int32_t row)
{
    return {column * CellPixels, row * CellPixels, (column + 1) * CellPixels, (row + 1) * CellPixels};
}

HRESULT FillBlack(IDirectDrawSurface7* surface)
{
    DDBLTFX fx = {};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 0;
    return NoteLoss(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx));
}

// A missing picture leaves its cell out, like the loader's own report of it.
HRESULT BlitCell(IDirectDrawSurface7* target, IDirectDrawSurface7* picture, int32_t column, int32_t row)
{
    if (picture == nullptr) {
        return DD_OK;
    }
    RECT cell = CellRect(column, row);
    return NoteLoss(target->Blt(&cell, picture, nullptr, DDBLT_WAIT, nullptr));
}

void LogTetradFailure(HRESULT result)
{
    WriteDebugLog(result == DDERR_SURFACELOST ? "Surface Lost while drawing current Tetrad"
                                              : "Unknown Error Drawing Current Tetrad");
}

IDirectDrawSurface7* PictureOf(IDirectDrawSurface7* const (&pictures)[BlockPictureCount], int32_t colour)
{
    return colour >= 0 && colour < BlockPictureCount ? pictures[colour] : nullptr;
}

// Cells outside the board (above row 0 after a turn at the top) are left out, not failed.
void DrawTetradCells(const Tetrad& tetrad, IDirectDrawSurface7* const (&pictures)[BlockPictureCount])
{
    if (BoardSurface == nullptr) {
        return;
    }
    IDirectDrawSurface7* picture = PictureOf(pictures, tetrad.colour);
    for (const TetradCell& cell : tetrad.cells) {
        const int32_t column = tetrad.x + cell.dx;
        const int32_t row = tetrad.y - cell.dy;
        if (column < 0 || column >= BoardColumns || row < 0 || row >= BoardRows) {
            continue;
        }
        const HRESULT result = BlitCell(BoardSurface, picture, column, row);
        if (FAILED(result)) {
            LogTetradFailure(result);
            return;
        }
    }
}

HRESULT BlitToScreen(IDirectDrawSurface7* source, int32_t left, int32_t top, int32_t width, int32_t height)
{
    ScreenOffset = ComputeScreenOffset();
    RECT target = {
        ScreenOffset.x + left, ScreenOffset.y + top, ScreenOffset.x + left + width, ScreenOffset.y + top + height};
    return NoteLoss(PrimarySurface->Blt(&target, source, nullptr, DDBLT_WAIT, nullptr));
}

}  // namespace

ResultCode DrawPlayScreen()
{
    if (PrimarySurface == nullptr) {
        return NoScreen;
    }
    SurfaceLost = false;
    ClearBoardSurface();
    DrawBoardCells();
    AdvanceGhostBlink();
    if (GhostVisible) {
        DrawGhostTetrad();
    }
    DrawCurrentTetrad();
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
    return SurfaceLost ? ResultSurfaceLost : ResultOk;
}

void ClearBoardSurface()
{
    if (BoardSurface != nullptr && FAILED(FillBlack(BoardSurface))) {
        WriteDebugLog("Error Clearing Board Surface");
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
            if (colour > EmptyCell && FAILED(BlitCell(BoardSurface, PictureOf(BlockSurfaces, colour), column, row))) {
                WriteDebugLog("Error Blitting to Quadrone Board Surface");
                return;
            }
        }
    }
}

void DrawCurrentTetrad()
{
    DrawTetradCells(CurrentTetrad, BlockSurfaces);
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
    if (FAILED(FillBlack(NextPieceSurface))) {
        WriteDebugLog("Error Clearing Next Piece Surface");
        return;
    }
    IDirectDrawSurface7* picture = PictureOf(BlockSurfaces, NextTetrad.colour);
    for (const TetradCell& cell : NextTetrad.cells) {
        const HRESULT result = BlitCell(NextPieceSurface, picture, cell.dx + PreviewCentre, PreviewCentre - cell.dy);
        if (FAILED(result)) {
            LogTetradFailure(result);
            return;
        }
    }
    BlitNextPieceToScreen();
}

ResultCode BlitBoardToScreen()
{
    if (PrimarySurface == nullptr) {
        return NoScreen;
    }
    if (BoardSurface == nullptr) {
        return ResultOk;
    }
    const HRESULT result =
        BlitToScreen(BoardSurface, BoardOrigin.x, BoardOrigin.y, BoardWidthPixels, BoardHeightPixels);
    if (FAILED(result)) {
        WriteDebugLog("Error during board blt vsync");
    }
    return result;
}

ResultCode BlitNextPieceToScreen()
{
    if (PrimarySurface == nullptr) {
        return NoScreen;
    }
    if (NextPieceSurface == nullptr) {
        return ResultOk;
    }
    const HRESULT result = BlitToScreen(NextPieceSurface, PreviewLeft, PreviewTop, PreviewPixels, PreviewPixels);
    if (FAILED(result)) {
        WriteDebugLog("Error during next piece blt vsync");
    }
    return result;
}
