// board.cpp -- the rules of the well: collision, moves, locking, full rows, score and level.
#include "core/game/board.h"

#include "core/game/frame_state.h"
#include "ports/drawing.h"
#include "ports/sound.h"

int32_t Board[BoardColumns * BoardRows];
TetradKind TetradTable[TetradKindCount];
Tetrad CurrentTetrad;
Tetrad NextTetrad;
Tetrad SavedTetrad;
int32_t NextKind = 0;
uint32_t Score = 0;
uint32_t Level = 1;
uint32_t Lines = 0;
uint32_t FallSpeed = 10;
bool CountersDirty = true;
BoardPoint BoardOrigin = {0, 0};

namespace {

const TetradCell KindShapes[TetradKindCount][4] = {
    {{0, 1}, {0, 0}, {-1, 0}, {1, 0}},    // T, stem up
    {{0, 0}, {0, 1}, {1, 0}, {1, 1}},     // square
    {{0, 0}, {0, 1}, {-1, 0}, {1, 1}},    // S
    {{0, 0}, {1, 0}, {0, 1}, {-1, 1}},    // Z
    {{-1, 0}, {0, 0}, {1, 0}, {2, 0}},    // straight bar
    {{0, 1}, {0, 0}, {0, -1}, {-1, -1}},  // foot to the left
    {{0, 1}, {0, 0}, {0, -1}, {1, -1}},   // foot to the right
};

constexpr int32_t SpawnX = 5;
constexpr int32_t SpawnY = 1;

// Points for a run of one to four rows, before the level multiplier.
constexpr uint32_t RunPoints[5] = {0, 100, 300, 500, 800};

Tetrad TetradOfKind(int32_t kind)
{
    const TetradKind& row = TetradTable[kind];
    Tetrad tetrad;
    tetrad.x = row.spawnX;
    tetrad.y = row.spawnY;
    for (int i = 0; i < 4; ++i) {
        tetrad.cells[i] = row.cells[i];
    }
    tetrad.colour = row.colour;
    return tetrad;
}

// Keeps a changed CurrentTetrad if it fits, else puts the saved copy back.
bool KeepIfFree()
{
    if (TestTetradPosition(CurrentTetrad) > PositionFree) {
        CurrentTetrad = SavedTetrad;
        return false;
    }
    return true;
}

void PlayRotateSound()
{
    if (SoundIsPlaying(RotateSound)) {
        StopSound(RotateSound);
        ResetSound(RotateSound);
    }
    PlayEffect(RotateSound, 0, 0);
}

bool RowIsFull(int32_t row)
{
    for (int32_t column = 0; column < BoardColumns; ++column) {
        if (BoardCell(column, row) == EmptyCell) {
            return false;
        }
    }
    return true;
}

void AwardRun(uint32_t rows)
{
    Score += Level * RunPoints[rows < 4 ? rows : 4];
    Lines += rows;
    CountersDirty = true;
}

// The first full row of a clear stops the interference and shows the board once more.
void PrepareForCollapse()
{
    StopSound(StaticSound);
    GhostVisible = false;
    GhostTimer = 0;
    DrawPlayScreen();
}

}  // namespace

void ClearBoard()
{
    for (int32_t& cell : Board) {
        cell = EmptyCell;
    }
}

void InitTetradTable()
{
    for (int32_t kind = 0; kind < TetradKindCount; ++kind) {
        TetradTable[kind] = {SpawnX, SpawnY, KindShapes[kind], static_cast<uint8_t>(kind)};
    }
    BoardOrigin = {200, 48};
}

void SetCurrentTetrad(int32_t kind)
{
    CurrentTetrad = TetradOfKind(kind);
}

void SetNextTetrad(int32_t kind)
{
    NextTetrad = TetradOfKind(kind);
}

int32_t TestTetradPosition(Tetrad tetrad)
{
    for (const TetradCell& cell : tetrad.cells) {
        const int32_t column = tetrad.x + cell.dx;
        const int32_t row = tetrad.y - cell.dy;
        if (column < 0 || column >= BoardColumns) {
            return PositionOutsideColumns;
        }
        if (row >= BoardRows) {
            return PositionBelowFloor;
        }
        if (row >= 0 && BoardCell(column, row) != EmptyCell) {
            return PositionOverlaps;
        }
    }
    return PositionFree;
}

void RotateShape(Tetrad& tetrad)
{
    for (TetradCell& cell : tetrad.cells) {
        cell = {cell.dy, -cell.dx};
    }
}

void MoveLeft()
{
    SavedTetrad = CurrentTetrad;
    CurrentTetrad.x -= 1;
    KeepIfFree();
}

void MoveRight()
{
    SavedTetrad = CurrentTetrad;
    CurrentTetrad.x += 1;
    KeepIfFree();
}

void MoveDown()
{
    SavedTetrad = CurrentTetrad;
    CurrentTetrad.y += 1;
    if (KeepIfFree()) {
        Score += Level;
        CountersDirty = true;
    } else {
        // Never below a fall interval, so the timed fall of this frame locks the tetrad.
        FallTimer = 1000;
    }
}

void RotateTetrad()
{
    SavedTetrad = CurrentTetrad;
    RotateShape(CurrentTetrad);
    if (KeepIfFree()) {
        PlayRotateSound();
    }
}

void LockTetrad()
{
    for (const TetradCell& cell : CurrentTetrad.cells) {
        const int32_t column = CurrentTetrad.x + cell.dx;
        const int32_t row = CurrentTetrad.y - cell.dy;
        if (column >= 0 && column < BoardColumns && row >= 0 && row < BoardRows) {
            BoardCell(column, row) = CurrentTetrad.colour;
        }
    }
}

void CollapseRow(int32_t row)
{
    if (row < 0 || row >= BoardRows) {
        return;
    }
    for (int32_t column = 0; column < BoardColumns; ++column) {
        for (int32_t r = row; r >= 1; --r) {
            BoardCell(column, r) = BoardCell(column, r - 1);
        }
        BoardCell(column, 0) = EmptyCell;
    }
    DrawSparks(row);
}

void ClearFullLines()
{
    bool marked[BoardRows];
    for (int32_t row = 0; row < BoardRows; ++row) {
        marked[row] = RowIsFull(row);
    }

    bool firstRow = true;
    uint32_t run = 0;
    for (int32_t row = 0; row < BoardRows; ++row) {
        if (!marked[row]) {
            AwardRun(run);
            run = 0;
            continue;
        }
        if (firstRow) {
            PrepareForCollapse();
            firstRow = false;
        }
        ++run;
        CollapseRow(row);
    }
    AwardRun(run);

    if (Lines > Level * 10) {
        ++Level;
        if (FallSpeed > 1) {
            --FallSpeed;
        }
    }
}
