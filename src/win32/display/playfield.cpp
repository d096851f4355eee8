// playfield.cpp -- the play screen on DirectDraw surfaces: board, ghost, falling tetrad and preview.
#include "win32/display/playfield.h"
#include "ports/drawing.h"

#include "core/display/play_cells.h"
#include "core/game/board.h"
#include "core/game/play_screen.h"
#include "core/log/debug_log.h"
#include "core/shell/screen.h"
#include "win32/display/display.h"

namespace {

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
    const ResultCode board = ComposePlayScreen({DrawBoardCells, DrawTetrad, DrawNextTetrad});
    if (board < 0) {
        return board;
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
    WalkBoardCells([](int32_t column, int32_t row, int32_t colour) -> ResultCode {
        return BlitCell(BoardSurface, PictureOf(BlockSurfaces, colour), column, row);
    });
}

void DrawTetrad(const Tetrad& tetrad, bool ghost)
{
    if (BoardSurface == nullptr) {
        return;
    }
    IDirectDrawSurface7* picture = PictureOf(ghost ? GhostBlockSurfaces : BlockSurfaces, tetrad.colour);
    WalkTetradCells(tetrad,
        [picture](int32_t column, int32_t row) -> ResultCode { return BlitCell(BoardSurface, picture, column, row); });
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
    const bool drawn = WalkPreviewCells(NextTetrad, [picture](int32_t column, int32_t row) -> ResultCode {
        return BlitCell(NextPieceSurface, picture, column, row);
    });
    if (drawn) {
        BlitNextPieceToScreen();
    }
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
