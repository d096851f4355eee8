// Board rules: spawning, moves, rotation, locking, full rows, scoring and levels.
#include <set>
#include <utility>

#include "audio/effects.h"
#include "game/board.h"
#include "game/frame_state.h"
#include "test_support.h"

namespace {

using Cells = std::set<std::pair<int32_t, int32_t>>;

Cells BoardCellsOf(const Tetrad& tetrad)
{
    Cells cells;
    for (const TetradCell& cell : tetrad.cells) {
        cells.insert({tetrad.x + cell.dx, tetrad.y - cell.dy});
    }
    return cells;
}

void FillRow(int32_t row, int32_t colour = 3)
{
    for (int32_t column = 0; column < BoardColumns; ++column) {
        BoardCell(column, row) = colour;
    }
}

class BoardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearBoard();
        InitTetradTable();
        Score = 0;
        Level = 1;
        Lines = 0;
        FallSpeed = 10;
        CountersDirty = false;
        FallTimer = 0;
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
        {{5, 0}, {5, 1}, {4, 1}, {6, 1}}, {{5, 1}, {5, 0}, {6, 1}, {6, 0}},
        {{5, 1}, {5, 0}, {4, 1}, {6, 0}}, {{5, 1}, {6, 1}, {5, 0}, {4, 0}},
        {{4, 1}, {5, 1}, {6, 1}, {7, 1}}, {{5, 0}, {5, 1}, {5, 2}, {4, 2}},
        {{5, 0}, {5, 1}, {5, 2}, {6, 2}},
    };
    for (int32_t kind = 0; kind < TetradKindCount; ++kind) {
        SetCurrentTetrad(kind);
        SetNextTetrad(kind);
        EXPECT_EQ(BoardCellsOf(CurrentTetrad), expected[kind]) << "kind " << kind;
        EXPECT_EQ(CurrentTetrad.colour, kind);
        EXPECT_EQ(BoardCellsOf(NextTetrad), expected[kind]);
        EXPECT_EQ(TestTetradPosition(CurrentTetrad), PositionFree);
    }
}

TEST_F(BoardTest, CollisionCodesAndTheFirstFailingCellDecides)
{
    SetCurrentTetrad(4);
    Tetrad bar = CurrentTetrad;
    bar.x = 0;   // first cell at column -1
    EXPECT_EQ(TestTetradPosition(bar), PositionOutsideColumns);
    bar.x = 7;   // last cell at column 9
    EXPECT_EQ(TestTetradPosition(bar), PositionFree);
    bar.y = 16;
    EXPECT_EQ(TestTetradPosition(bar), PositionBelowFloor);

    bar = CurrentTetrad;
    BoardCell(7, 1) = 0;   // only the fourth cell overlaps
    EXPECT_EQ(TestTetradPosition(bar), PositionOverlaps);
    bar.x = -1;            // the first cell leaves the wall before any overlap is seen
    EXPECT_EQ(TestTetradPosition(bar), PositionOutsideColumns);

    SetCurrentTetrad(5);
    Tetrad high = CurrentTetrad;
    high.y = -1;           // three cells above the top row are free
    EXPECT_EQ(TestTetradPosition(high), PositionFree);
    BoardCell(4, 0) = 2;
    EXPECT_EQ(TestTetradPosition(high), PositionOverlaps);
}

TEST_F(BoardTest, BarMovesRightUntilTheWall)
{
    SetCurrentTetrad(4);
    MoveRight();
    MoveRight();
    EXPECT_EQ(BoardCellsOf(CurrentTetrad), (Cells{{6, 1}, {7, 1}, {8, 1}, {9, 1}}));
    MoveRight();
    EXPECT_EQ(BoardCellsOf(CurrentTetrad), (Cells{{6, 1}, {7, 1}, {8, 1}, {9, 1}}));
    Tetrad tried = CurrentTetrad;
    tried.x += 1;
    EXPECT_EQ(TestTetradPosition(tried), PositionOutsideColumns);

    MoveLeft();
    EXPECT_EQ(CurrentTetrad.x, 6);
    BoardCell(4, 1) = 0;
    MoveLeft();
    EXPECT_EQ(CurrentTetrad.x, 6) << "a filled cell blocks the move";
    EXPECT_TRUE(RecordedCalls().empty()) << "moves make no sound";
}

TEST_F(BoardTest, SquareShiftsAtEachTurnAndReturnsAfterFour)
{
    SetCurrentTetrad(1);
    const Tetrad start = CurrentTetrad;
    RotateTetrad();
    EXPECT_EQ(BoardCellsOf(CurrentTetrad), (Cells{{5, 1}, {6, 1}, {5, 2}, {6, 2}}));
    RotateTetrad();
    RotateTetrad();
    RotateTetrad();
    EXPECT_EQ(BoardCellsOf(CurrentTetrad), BoardCellsOf(start));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(CurrentTetrad.cells[i].dx, start.cells[i].dx);
        EXPECT_EQ(CurrentTetrad.cells[i].dy, start.cells[i].dy);
    }
}

TEST_F(BoardTest, RotationSoundRestartsAndRefusalIsSilent)
{
    SetCurrentTetrad(0);
    RotateTetrad();
    EXPECT_EQ(RecordedCalls(), (std::vector<std::string>{"SoundIsPlaying rotate", "PlayEffect rotate 0 0"}));

    ClearRecordedCalls();
    SetSoundPlaying(RotateSound, true);
    RotateTetrad();
    EXPECT_EQ(RecordedCalls(), (std::vector<std::string>{"SoundIsPlaying rotate", "StopSound rotate",
                                                         "ResetSound rotate", "PlayEffect rotate 0 0"}));

    // A bar lying on the floor cannot stand up: the turn is refused without a sound.
    ClearRecordedCalls();
    SetCurrentTetrad(4);
    CurrentTetrad.y = 15;
    const Tetrad before = CurrentTetrad;
    RotateTetrad();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(CurrentTetrad.cells[i].dx, before.cells[i].dx);
        EXPECT_EQ(CurrentTetrad.cells[i].dy, before.cells[i].dy);
    }
    EXPECT_TRUE(RecordedCalls().empty());
}

TEST_F(BoardTest, SoftDropScoresTheLevelOrForcesTheLock)
{
    Level = 4;
    SetCurrentTetrad(4);
    MoveDown();
    EXPECT_EQ(CurrentTetrad.y, 2);
    EXPECT_EQ(Score, 4u);
    EXPECT_TRUE(CountersDirty);
    EXPECT_EQ(FallTimer, 0u);

    CountersDirty = false;
    CurrentTetrad.y = 15;
    MoveDown();
    EXPECT_EQ(CurrentTetrad.y, 15);
    EXPECT_EQ(Score, 4u);
    EXPECT_FALSE(CountersDirty);
    EXPECT_EQ(FallTimer, 1000u);
}

TEST_F(BoardTest, LockWritesTheColourAndDropsCellsAboveTheTop)
{
    SetCurrentTetrad(6);
    CurrentTetrad.y = 14;
    LockTetrad();
    EXPECT_EQ(BoardCell(5, 13), 6);
    EXPECT_EQ(BoardCell(5, 14), 6);
    EXPECT_EQ(BoardCell(5, 15), 6);
    EXPECT_EQ(BoardCell(6, 15), 6);

    // The bar turned three times at the spawn row reaches row -1.
    SetCurrentTetrad(4);
    RotateShape(CurrentTetrad);
    RotateShape(CurrentTetrad);
    RotateShape(CurrentTetrad);
    ASSERT_EQ(BoardCellsOf(CurrentTetrad), (Cells{{5, -1}, {5, 0}, {5, 1}, {5, 2}}));
    LockTetrad();
    EXPECT_EQ(BoardCell(5, 0), 4);
    EXPECT_EQ(BoardCell(5, 2), 4);
    EXPECT_EQ(BoardCell(4, 15), EmptyCell) << "nothing wrapped into the previous column";
}

TEST_F(BoardTest, NoFullRowStillMarksTheCounters)
{
    BoardCell(0, 15) = 1;
    ClearFullLines();
    EXPECT_TRUE(CountersDirty);
    EXPECT_EQ(Score, 0u);
    EXPECT_TRUE(RecordedCalls().empty());
    EXPECT_TRUE(GhostVisible);
}

TEST_F(BoardTest, SeparateRunsScoreSeparately)
{
    Level = 3;
    FillRow(13);
    BoardCell(2, 14) = 1;   // row 14 has a hole everywhere else
    FillRow(15);
    BoardCell(4, 12) = 5;   // a lone cell above both rows falls with them
    ClearFullLines();
    EXPECT_EQ(Score, 600u);
    EXPECT_EQ(Lines, 2u);
    EXPECT_EQ(RecordedCalls(), (std::vector<std::string>{"StopSound static", "DrawPlayScreen",
                                                         "DrawSparks 13", "DrawSparks 15"}));
    EXPECT_FALSE(GhostVisible);
    EXPECT_EQ(GhostTimer, 0u);
    EXPECT_EQ(BoardCell(4, 14), 5);
    EXPECT_EQ(BoardCell(2, 15), 1);
    for (int32_t column = 0; column < BoardColumns; ++column) {
        EXPECT_EQ(BoardCell(column, 0), EmptyCell);
    }
}

TEST_F(BoardTest, AdjacentRowsScoreAsOneRun)
{
    Level = 3;
    FillRow(14);
    FillRow(15);
    ClearFullLines();
    EXPECT_EQ(Score, 900u);
    EXPECT_EQ(Lines, 2u);

    Score = 0;
    Level = 2;
    for (int32_t row = 12; row < 16; ++row) {
        FillRow(row);
    }
    ClearRecordedCalls();
    ClearFullLines();
    EXPECT_EQ(Score, 1600u);
    EXPECT_EQ(RecordedCalls().size(), 6u) << "one stop, one redraw, four spark runs";
    for (int32_t index = 0; index < BoardColumns * BoardRows; ++index) {
        EXPECT_EQ(Board[index], EmptyCell);
    }
}

TEST_F(BoardTest, LevelRisesOncePerClearAndSpeedStopsAtOne)
{
    Lines = 10;
    FillRow(15);
    ClearFullLines();
    EXPECT_EQ(Level, 2u);
    EXPECT_EQ(FallSpeed, 9u);
    EXPECT_EQ(Score, 100u) << "the run is scored at the old level";

    Lines = 19;
    FillRow(15);
    ClearFullLines();
    EXPECT_EQ(Level, 2u) << "20 lines are not above 2 x 10";

    Lines = 45;   // far past several thresholds, yet one level per clear
    FillRow(15);
    ClearFullLines();
    EXPECT_EQ(Level, 3u);
    EXPECT_EQ(FallSpeed, 8u);

    Level = 9;
    FallSpeed = 1;
    Lines = 90;
    FillRow(15);
    ClearFullLines();
    EXPECT_EQ(Level, 10u);
    EXPECT_EQ(FallSpeed, 1u);
}
