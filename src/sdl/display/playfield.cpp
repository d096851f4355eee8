// playfield.cpp -- the play screen: the board and the preview composed on their own surfaces,
// then copied to the game area, as the Windows build composes them.
#include "core/display/play_cells.h"
#include "core/game/board.h"
#include "core/game/play_screen.h"
#include "core/log/debug_log.h"
#include "core/shell/screen.h"
#include "ports/drawing.h"
#include "sdl/display/display.h"

namespace {

// Without a game area nothing reaches the window; the frame loop then waits.
constexpr ResultCode NoScreen = ResultNotInitialized;

// A missing picture leaves its cell out, like the loader's own report of it.
ResultCode BlitCell(SDL_Surface* target, SDL_Surface* picture, int32_t column, int32_t row)
{
    if (picture == nullptr) {
        return ResultOk;
    }
    SDL_Rect cell = {column * CellPixels, row * CellPixels, CellPixels, CellPixels};
    return SDL_BlitSurface(picture, nullptr, target, &cell) == 0 ? ResultOk : ResultFail;
}

void DrawTetrad(const Tetrad& tetrad, bool ghost)
{
    if (BoardSurface == nullptr) {
        return;
    }
    SDL_Surface* picture = PictureOf(ghost ? GhostBlockSurfaces : BlockSurfaces, tetrad.colour);
    WalkTetradCells(
        tetrad, [picture](int32_t column, int32_t row) { return BlitCell(BoardSurface, picture, column, row); });
}

void DrawBoardCells()
{
    if (BoardSurface == nullptr) {
        return;
    }
    WalkBoardCells([](int32_t column, int32_t row, int32_t colour) {
        return BlitCell(BoardSurface, PictureOf(BlockSurfaces, colour), column, row);
    });
}

void DrawNextTetrad()
{
    if (NextPieceSurface == nullptr) {
        return;
    }
    SDL_FillRect(NextPieceSurface, nullptr, 0);
    SDL_Surface* picture = PictureOf(BlockSurfaces, NextTetrad.colour);
    const bool drawn = WalkPreviewCells(NextTetrad,
        [picture](int32_t column, int32_t row) { return BlitCell(NextPieceSurface, picture, column, row); });
    if (drawn) {
        BlitNextPieceToScreen();
    }
}

}  // namespace

ResultCode DrawPlayScreen()
{
    if (Screen == nullptr) {
        return NoScreen;
    }
    return ComposePlayScreen({DrawBoardCells, DrawTetrad, DrawNextTetrad});
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
