// The play screen on real surfaces: board, ghost, falling tetrad, preview, counters and interference.
#include "display_fixture.h"

#include <algorithm>

#include "audio/effects.h"
#include "common/random.h"
#include "display/display_win32.h"
#include "display/playfield_win32.h"
#include "drawing/picture_set.h"
#include "drawing/playfield.h"
#include "game/board.h"
#include "game/frame_state.h"
#include "log/debug_log.h"

namespace {

constexpr int32_t PreviewLeft = 49;
constexpr int32_t PreviewTop = 180;

TestBitmap BlockPicture(int32_t colour, bool ghost = false)
{
    return GamePicture("block" + std::to_string(colour + 1) + (ghost ? "-ghost" : "") + ".bmp");
}

// The first seed whose first random number leaves this remainder modulo 10000.
uint32_t SeedGiving(int32_t remainder)
{
    for (uint32_t seed = 0;; ++seed) {
        SeedRandom(seed);
        if (Random() % 10000 == remainder) {
            return seed;
        }
    }
}

Tetrad MakeTetrad(int32_t x, int32_t y, std::initializer_list<TetradCell> cells, uint8_t colour)
{
    Tetrad tetrad = {};
    tetrad.x = x;
    tetrad.y = y;
    std::copy(cells.begin(), cells.end(), tetrad.cells);
    tetrad.colour = colour;
    return tetrad;
}

class PlayScreen : public GameScreenTest {
protected:
    void SetUp() override
    {
        GameScreenTest::SetUp();
        ClearBoard();
        InitTetradTable();
        CurrentTetrad = MakeTetrad(5, 1, {{0, 0}, {1, 0}, {-1, 0}, {0, 1}}, 1);
        NextTetrad = MakeTetrad(5, 1, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}, 4);
        StopAllRecordedSounds();
        GhostTimer = 0;
        GhostVisible = false;
        CountersDirty = false;
        GameActive = true;
        SeedRandom(SeedGiving(0));
        ClearRecordedCalls();
    }

    TestBitmap Cell(int32_t column, int32_t row) { return ScreenArea(200 + 24 * column, 48 + 24 * row, 24, 24); }

    // Which cells of the board on the screen hold exactly this picture.
    std::vector<std::pair<int32_t, int32_t>> CellsShowing(const TestBitmap& picture)
    {
        std::vector<std::pair<int32_t, int32_t>> cells;
        for (int32_t row = 0; row < BoardRows; ++row) {
            for (int32_t column = 0; column < BoardColumns; ++column) {
                if (CountDifferences(Cell(column, row), picture) == 0) {
                    cells.emplace_back(column, row);
                }
            }
        }
        return cells;
    }

    bool AreaHasColour(int32_t left, int32_t top, int32_t width, int32_t height, uint32_t colour)
    {
        const TestBitmap area = ScreenArea(left, top, width, height);
        return std::find(area.pixels.begin(), area.pixels.end(), colour) != area.pixels.end();
    }
};

long StaticStarts()
{
    const std::vector<std::string> calls = RecordedCalls();
    return std::count(calls.begin(), calls.end(), "PlayEffect static 0 0");
}

using Cells = std::vector<std::pair<int32_t, int32_t>>;

HRESULT WINAPI LostBlt(IDirectDrawSurface7*, LPRECT, IDirectDrawSurface7*, LPRECT, DWORD, LPDDBLTFX)
{
    return DDERR_SURFACELOST;
}

// Every blit onto one real surface answers that it was lost (Wine never loses one by itself):
// the object's method table is swapped for a copy whose Blt is LostBlt, while this lives.
class LostBlits {
public:
    explicit LostBlits(IDirectDrawSurface7* surface)
        : object(reinterpret_cast<void***>(surface)), original(*object)
    {
        std::copy(original, original + MethodCount, table);
        table[BltSlot] = reinterpret_cast<void*>(&LostBlt);
        *object = table;
    }
    ~LostBlits() { *object = original; }

private:
    static constexpr int MethodCount = 49;   // IUnknown's 3 and the surface's 46
    static constexpr int BltSlot = 5;
    void*** object;
    void** original;
    void* table[MethodCount];
};

}  // namespace

TEST_F(PlayScreen, BoardTetradAndPreviewReachTheScreen)
{
    BoardCell(0, 15) = 0;
    BoardCell(9, 15) = 0;
    BoardCell(4, 14) = 6;
    ASSERT_EQ(DrawPlayScreen(), ResultOk);
    EXPECT_EQ(CellsShowing(BlockPicture(0)), (Cells{{0, 15}, {9, 15}}));
    EXPECT_EQ(CellsShowing(BlockPicture(6)), (Cells{{4, 14}}));
    EXPECT_EQ(CellsShowing(BlockPicture(1)), (Cells{{5, 0}, {4, 1}, {5, 1}, {6, 1}}));
    EXPECT_EQ(CellsShowing(Plain(24, 24, 0)).size(), 160u - 7u);

    for (int32_t row = 0; row < 5; ++row) {
        for (int32_t column = 0; column < 5; ++column) {
            const bool filled = (row == 1 || row == 2) && (column == 2 || column == 3);
            const TestBitmap cell = ScreenArea(PreviewLeft + 24 * column, PreviewTop + 24 * row, 24, 24);
            EXPECT_EQ(CountDifferences(cell, filled ? BlockPicture(4) : Plain(24, 24, 0)), 0) << column << "," << row;
        }
    }
    EXPECT_TRUE(ReadDebugLog().empty());
}

// The ghost shows where the tetrad would land, only when that is at least four rows down.
TEST_F(PlayScreen, GhostAppearsFourRowsAboveItsLandingPlace)
{
    for (int32_t column = 0; column < BoardColumns; ++column) {
        BoardCell(column, 15) = 2;
    }
    GhostVisible = true;
    CurrentTetrad.y = 10;   // would land on row 14: four rows down
    ASSERT_EQ(DrawPlayScreen(), ResultOk);
    EXPECT_EQ(CellsShowing(BlockPicture(1, true)), (Cells{{5, 13}, {4, 14}, {5, 14}, {6, 14}}));
    CurrentTetrad.y = 11;   // three rows down
    ASSERT_EQ(DrawPlayScreen(), ResultOk);
    EXPECT_TRUE(CellsShowing(BlockPicture(1, true)).empty());
    EXPECT_EQ(CellsShowing(BlockPicture(1)), (Cells{{5, 10}, {4, 11}, {5, 11}, {6, 11}}));
}

TEST_F(PlayScreen, GhostBlinksAfterMoreThanSeventyFiveMilliseconds)
{
    GhostTimer = 75;
    DrawPlayScreen();
    EXPECT_FALSE(GhostVisible);
    EXPECT_EQ(GhostTimer, 75u);
    GhostTimer = 76;
    DrawPlayScreen();
    EXPECT_TRUE(GhostVisible);
    EXPECT_EQ(GhostTimer, 0u);
}

// Cells above the top row are left out without a log line; the cells after them are drawn.
TEST_F(PlayScreen, TetradStickingOutAboveTheBoardDrawsItsBoardCells)
{
    CurrentTetrad = MakeTetrad(3, 0, {{0, 1}, {0, 0}, {1, 0}, {2, 0}}, 3);
    GhostVisible = true;
    for (int frame = 0; frame < 3; ++frame) {
        ASSERT_EQ(DrawPlayScreen(), ResultOk);
    }
    EXPECT_EQ(CellsShowing(BlockPicture(3)), (Cells{{3, 0}, {4, 0}, {5, 0}}));
    EXPECT_EQ(CellsShowing(BlockPicture(3, true)), (Cells{{3, 14}, {3, 15}, {4, 15}, {5, 15}}));
    EXPECT_TRUE(ReadDebugLog().empty());
}

// A loss that only the composing blits meet is reported like a lost screen, so the frame restores.
TEST_F(PlayScreen, ALossOnTheBoardSurfaceIsReported)
{
    {
        LostBlits lost(BoardSurface);
        EXPECT_EQ(DrawPlayScreen(), ResultSurfaceLost);
    }
    EXPECT_EQ(ReadDebugLog(),
              (std::vector<std::string>{"Error Clearing Board Surface", "Surface Lost while drawing current Tetrad"}));
    EXPECT_EQ(DrawPlayScreen(), ResultOk);
}

TEST_F(PlayScreen, CountersWaitForAnActiveWindow)
{
    Score = 1234;
    CountersDirty = true;
    GameActive = false;
    DrawPlayScreen();
    EXPECT_TRUE(CountersDirty);
    EXPECT_FALSE(AreaHasColour(480, 215, 100, 45, 0xFFFFFF));
    GameActive = true;
    DrawPlayScreen();
    EXPECT_FALSE(CountersDirty);
    for (int32_t y : {215, 230, 245}) {
        EXPECT_TRUE(AreaHasColour(480, y, 100, 15, 0xFFFFFF)) << y;
        EXPECT_TRUE(AreaHasColour(480, y, 100, 15, 0x000000)) << y;
    }
}

// A remainder above 9990 starts the interference, which then covers the preview with noise;
// the chance is rolled only once 10 ms of play have gathered.
TEST_F(PlayScreen, InterferenceStartsAboveNineThousandNineHundredNinety)
{
    const uint32_t seed = SeedGiving(9991);
    SeedRandom(seed);
    InterferenceTimer = 9;
    DrawPlayScreen();
    EXPECT_EQ(StaticStarts(), 0) << "no roll before 10 ms of play";
    EXPECT_EQ(InterferenceTimer, 9u);

    SeedRandom(SeedGiving(9990));
    InterferenceTimer = 10;
    DrawPlayScreen();
    EXPECT_EQ(StaticStarts(), 0);
    EXPECT_EQ(InterferenceTimer, 0u);

    SeedGiving(9991);   // leaves the generator just after the roll: the next two place the noise
    const int32_t left = Random() % 520;
    const int32_t top = Random() % 360;
    SeedRandom(seed);
    InterferenceTimer = 10;
    ClearRecordedCalls();
    DrawPlayScreen();
    EXPECT_EQ(StaticStarts(), 1);
    EXPECT_EQ(NoiseDifferences(PreviewLeft, PreviewTop, 120, 120, left, top), 0);

    SeedRandom(seed);
    InterferenceTimer = 10;
    ClearRecordedCalls();
    DrawPlayScreen();
    EXPECT_EQ(StaticStarts(), 0) << "not started again while it plays";
}
