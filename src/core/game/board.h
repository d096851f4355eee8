// board.h -- the well, the seven tetrad kinds, moves, locking, full rows and scoring.
#pragma once

#include <cstdint>

constexpr int32_t BoardColumns = 10;
constexpr int32_t BoardRows = 16;
constexpr int32_t EmptyCell = -1;
constexpr int32_t TetradKindCount = 7;
constexpr int32_t CellPixels = 24;

struct TetradCell {
    int32_t dx;
    int32_t dy;  // counts upwards: the cell lies in row y - dy
};

struct Tetrad {
    int32_t x;
    int32_t y;
    TetradCell cells[4];
    uint8_t colour;
};

struct TetradKind {
    int32_t spawnX;
    int32_t spawnY;
    const TetradCell* cells;
    uint8_t colour;
};

struct BoardPoint {
    int32_t x;
    int32_t y;
};

// Results of TestTetradPosition.
constexpr int32_t PositionFree = 0;
constexpr int32_t PositionOutsideColumns = 1;
constexpr int32_t PositionOverlaps = 2;
constexpr int32_t PositionBelowFloor = 3;

// Cell (column c, row r) is Board[c * BoardRows + r]; -1 empty, else a colour 0 to 6.
extern int32_t Board[BoardColumns * BoardRows];
extern TetradKind TetradTable[TetradKindCount];
extern Tetrad CurrentTetrad;
extern Tetrad NextTetrad;
extern Tetrad SavedTetrad;
extern int32_t NextKind;
extern uint32_t Score;
extern uint32_t Level;
extern uint32_t Lines;
extern uint32_t FallSpeed;  // the tetrad falls a row every FallSpeed * 100 ms
extern bool CountersDirty;
extern BoardPoint BoardOrigin;

inline int32_t& BoardCell(int32_t column, int32_t row)
{
    return Board[column * BoardRows + row];
}

void ClearBoard();
void InitTetradTable();
void SetCurrentTetrad(int32_t kind);
void SetNextTetrad(int32_t kind);

// 0 free, 1 outside the side walls, 2 on a filled cell, 3 below the floor; the first failing cell decides.
int32_t TestTetradPosition(Tetrad tetrad);
void RotateShape(Tetrad& tetrad);  // a quarter turn clockwise on the screen

void MoveLeft();
void MoveRight();
void MoveDown();  // soft drop: a point per level, or an immediate lock when blocked
void RotateTetrad();

// Cells that lie above the top row are dropped: the board has no room for them.
void LockTetrad();
void CollapseRow(int32_t row);
void ClearFullLines();
