// Board rules: spawning, moves, rotation, locking, full rows, scoring and levels.
#include <set>

#include "core/game/board.h"
#include "core/game/frame.h"
#include "core/game/frame_state.h"
#include "test_support.h"

namespace {

using Cells = std::set<std::pair<int32_t, int32_t>>;
using Calls = std::vector<std::string>;

Cells BoardCellsOf(const Tetrad& tetrad)
{
    Cells cells;
    for (const TetradCell& cell : tetrad.cells) {
        cells.insert({tetrad.x + cell.dx, tetrad.y - cell.dy});
    }
    return cells;
}

Cells FilledCells()
{
    Cells cells;
    for (int32_t column = 0; column < BoardColumns; ++column) {
        for (int32_t row = 0; row < BoardRows; ++row) {
            if (BoardCell(column, row) != EmptyCell) {
                cells.insert({column, row});
            }
        }
    }
    return cells;
}

void FillRow(int32_t row)
{
    for (int32_t column = 0; column < BoardColumns; ++column) {
        BoardCell(column, row) = 3;
    }
}

class BoardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGameState(1, 2);
        GhostVisible = true;
        GhostTimer = 50;
        ClearRecordedCalls();
        StopAllRecordedSounds();
    }
};

}  // namespace

TEST_F(BoardTest, EveryKindSpawnsOnItsCells)
{
    const Cells expected[TetradKindCount] = {
        {{5, 0}, {5, 1}, {4, 1}, {6, 1}},
        {{5, 1}, {5, 0}, {6, 1}, {6, 0}},
        {{5, 1}, {5, 0}, {4, 1}, {6, 0}},
        {{5, 1}, {6, 1}, {5, 0}, {4, 0}},
        {{4, 1}, {5, 1}, {6, 1}, {7, 1}},
        {{5, 0}, {5, 1}, {5, 2}, {4, 2}},
        {{5, 0}, {5, 1}, {5, 2}, {6, 2}},
    };
    for (int32_t kind = 0; kind < TetradKindCount; ++kind) {
        SCOPED_TRACE(testing::Message() << "kind " << kind);
        SetCurrentTetrad(kind);
        SetNextTetrad(kind);
        EXPECT_EQ(BoardCellsOf(CurrentTetrad), expected[kind]);
        EXPECT_EQ(BoardCellsOf(NextTetrad), expected[kind]);
        EXPECT_EQ(CurrentTetrad.colour, kind);
    }
}

// Against the wall and a filled cell a move, a soft drop and a turn are undone without a sound or a
// point; the refused drop leaves a full fall interval, so this frame's fall locks the tetrad.
TEST_F(BoardTest, BlockedMovesAndTurnsAreUndoneSilently)
{
    SetCurrentTetrad(4);
    CurrentTetrad.x = 7;  // the bar lies in columns 6 to 9 of row 1
    BoardCell(7, 2) = 0;  // below it, and in the way of its turn
    const Cells before = BoardCellsOf(CurrentTetrad);
    MoveRight();
    MoveDown();
    RotateTetrad();
    EXPECT_EQ(BoardCellsOf(CurrentTetrad), before);
    EXPECT_EQ(Score, 0u);
    EXPECT_EQ(FallTimer, 1000u) << "a full fall interval";
    EXPECT_TRUE(RecordedCalls().empty());
}

// A tetrad moves into the outer columns and no further.
TEST_F(BoardTest, MovesReachTheWallsAndStopThere)
{
    SetCurrentTetrad(4);  // the bar lies in columns 4 to 7 of row 1
    for (int i = 0; i < 6; ++i) {
        MoveLeft();
    }
    EXPECT_EQ(BoardCellsOf(CurrentTetrad), (Cells{{0, 1}, {1, 1}, {2, 1}, {3, 1}}));
    for (int i = 0; i < 9; ++i) {
        MoveRight();
    }
    EXPECT_EQ(BoardCellsOf(CurrentTetrad), (Cells{{6, 1}, {7, 1}, {8, 1}, {9, 1}}));
}

// Only cells inside the board are written, in the tetrad's colour: nothing wraps into a
// neighbouring column or row.
TEST_F(BoardTest, LockWritesTheColourInsideTheBoardOnly)
{
    const struct {
        const char* what;
        int32_t kind, x, y, turns;
        Cells cells;
    } cases[] = {
        {"on the floor", 6, 5, 14, 0, {{5, 13}, {5, 14}, {5, 15}, {6, 15}}},
        {"a bar stood up at the spawn row reaches row -1", 4, 5, 1, 3, {{5, 0}, {5, 1}, {5, 2}}},
        {"a bar across the right wall: columns 7 to 10", 4, 8, 15, 0, {{7, 15}, {8, 15}, {9, 15}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClearBoard();
        SetCurrentTetrad(c.kind);
        CurrentTetrad.x = c.x;
        CurrentTetrad.y = c.y;
        for (int i = 0; i < c.turns; ++i) {
            RotateShape(CurrentTetrad);
        }
        LockTetrad();
        EXPECT_EQ(FilledCells(), c.cells);
        for (const auto& cell : c.cells) {
            EXPECT_EQ(BoardCell(cell.first, cell.second), c.kind);
        }
    }
}

TEST_F(BoardTest, SeparateRunsScoreSeparatelyAndTheRowsAboveFall)
{
    Level = 3;
    FillRow(13);
    BoardCell(2, 14) = 1;  // row 14 has a hole everywhere else
    FillRow(15);
    BoardCell(4, 0) = 5;  // a lone cell in the top row falls with both rows
    CountersDirty = false;
    ClearFullLines();
    EXPECT_EQ(Score, 600u) << "two single rows at level 3";
    EXPECT_EQ(Lines, 2u);
    EXPECT_TRUE(CountersDirty);
    EXPECT_FALSE(GhostVisible) << "the ghost starts its blink again";
    EXPECT_EQ(GhostTimer, 0u);
    EXPECT_EQ(RecordedCalls(), (Calls{"StopSound static", "DrawPlayScreen", "DrawSparks 13", "DrawSparks 15"}));
    EXPECT_EQ(FilledCells(), (Cells{{4, 2}, {2, 15}}));
    EXPECT_EQ(BoardCell(4, 2), 5);
}

// A run of adjacent rows scores as one; the level rises by one per clear, once the lines pass
// ten times the level, and the fall speeds up down to 1.
TEST_F(BoardTest, RunsScoreAtTheOldLevelAndTheLevelRisesOncePerClear)
{
    const struct {
        int32_t firstRow, rows;
        uint32_t level, lines, speed;
        uint32_t score, linesAfter, levelAfter, speedAfter;
    } cases[] = {
        {14, 2, 3, 0, 10, 900, 2, 3, 10},
        {12, 4, 2, 0, 10, 1600, 4, 2, 10},
        {15, 1, 1, 10, 10, 100, 11, 2, 9},
        {15, 1, 2, 19, 9, 200, 20, 2, 9},
        {15, 1, 2, 45, 9, 200, 46, 3, 8},
        {15, 1, 9, 90, 1, 900, 91, 10, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rows << " rows at level " << c.level << " after " << c.lines);
        ClearBoard();
        for (int32_t row = c.firstRow; row < c.firstRow + c.rows; ++row) {
            FillRow(row);
        }
        Score = 0;
        Level = c.level;
        Lines = c.lines;
        FallSpeed = c.speed;
        ClearFullLines();
        EXPECT_EQ(Score, c.score);
        EXPECT_EQ(Lines, c.linesAfter);
        EXPECT_EQ(Level, c.levelAfter);
        EXPECT_EQ(FallSpeed, c.speedAfter);
        EXPECT_TRUE(FilledCells().empty());
    }
}
