// play_cells.h -- the cells of the play screen: the board and preview surfaces they are composed
// on, and the walks that every back end blits them in, with the same order and failure lines.
#pragma once

#include <cstdint>

#include "core/common/result_codes.h"
#include "core/game/board.h"

constexpr int32_t BoardWidthPixels = BoardColumns * CellPixels;
constexpr int32_t BoardHeightPixels = BoardRows * CellPixels;
// The preview box on the game area; the next tetrad's origin takes its centre cell.
constexpr int32_t PreviewLeft = 49;
constexpr int32_t PreviewTop = 180;
constexpr int32_t PreviewPixels = 120;
constexpr int32_t PreviewCentre = 2;

void LogBoardCellFailure();
// A lost surface is named, so that the log tells it from a plain failure.
void LogTetradCellFailure(ResultCode result);

// The picture of a colour; null for a colour outside the set.
template <typename Picture, int Count>
Picture* PictureOf(Picture* const (&pictures)[Count], int32_t colour)
{
    return colour >= 0 && colour < Count ? pictures[colour] : nullptr;
}

// The board's filled cells, row by row from the top, each through blit(column, row, colour),
// which returns a ResultCode. The first failure is logged and ends the walk.
template <typename Blit>
void WalkBoardCells(Blit blit)
{
    for (int32_t row = 0; row < BoardRows; ++row) {
        for (int32_t column = 0; column < BoardColumns; ++column) {
            const int32_t colour = BoardCell(column, row);
            if (colour > EmptyCell && blit(column, row, colour) < 0) {
                LogBoardCellFailure();
                return;
            }
        }
    }
}

namespace play_cells {

template <typename Keep, typename Blit>
bool WalkCells(const Tetrad& tetrad, int32_t x, int32_t y, Keep keep, Blit blit)
{
    for (const TetradCell& cell : tetrad.cells) {
        const int32_t column = x + cell.dx;
        const int32_t row = y - cell.dy;
        if (!keep(column, row)) {
            continue;
        }
        const ResultCode result = blit(column, row);
        if (result < 0) {
            LogTetradCellFailure(result);
            return false;
        }
    }
    return true;
}

}  // namespace play_cells

// The cells of a tetrad on the board, each through blit(column, row). Cells off the board (above
// row 0 after a turn at the top) are left out, not failed. False after a failure, which is logged.
template <typename Blit>
bool WalkTetradCells(const Tetrad& tetrad, Blit blit)
{
    const auto onBoard = [](int32_t column, int32_t row) {
        return column >= 0 && column < BoardColumns && row >= 0 && row < BoardRows;
    };
    return play_cells::WalkCells(tetrad, tetrad.x, tetrad.y, onBoard, blit);
}

// The cells of a tetrad in the preview box, its origin on the centre cell, as WalkTetradCells.
template <typename Blit>
bool WalkPreviewCells(const Tetrad& tetrad, Blit blit)
{
    const auto anywhere = [](int32_t, int32_t) { return true; };
    return play_cells::WalkCells(tetrad, PreviewCentre, PreviewCentre, anywhere, blit);
}
