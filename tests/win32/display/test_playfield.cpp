// The play screen and its effects on real surfaces: board, ghost, falling tetrad, preview, counters,
// interference, sparks and static, and their failures.
#include "display_fixture.h"

#include <algorithm>

#include "core/common/random.h"
#include "core/game/board.h"
#include "core/game/frame_state.h"
#include "ports/drawing.h"

namespace {

constexpr HRESULT Refused = DDERR_UNSUPPORTED;
using Cells = std::vector<std::pair<int32_t, int32_t>>;
using Blit = IDirectDrawSurface7*;  // the source of a blit the failure rows refuse

TestBitmap BlockPicture(int32_t colour, bool ghost = false)
{
    return GamePicture("block" + std::to_string(colour + 1) + (ghost ? "-ghost.bmp" : ".bmp"));
}

// The first seed whose first random number leaves this remainder modulo 10000.
uint32_t SeedGiving(int32_t remainder)
{
    uint32_t seed = 0;
    for (SeedRandom(seed); Random() % 10000 != remainder; SeedRandom(++seed)) {
    }
    return seed;
}

// A T of colour 1 falling at the top, an O of colour 4 next, two cells of colour 0 on the floor.
struct PlayScreen : GameScreenTest {
    void SetUp() override
    {
        GameScreenTest::SetUp();
        ClearBoard();
        InitTetradTable();
        BoardCell(0, 15) = BoardCell(9, 15) = 0;
        CurrentTetrad = {5, 1, {{0, 0}, {1, 0}, {-1, 0}, {0, 1}}, 1};
        NextTetrad = {5, 1, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}, 4};
        StopAllRecordedSounds();
        ClearRecordedCalls();
        GhostTimer = InterferenceTimer = 0;
        GhostVisible = CountersDirty = false;
        GameActive = true;
    }

    const std::pair<Cells, TestBitmap> floor = {{{0, 15}, {9, 15}}, BlockPicture(0)};
};

// A black grid of 24-pixel cells, each picture in its cells.
TestBitmap Composed(int32_t columns, int32_t rows, const std::vector<std::pair<Cells, TestBitmap>>& pictures)
{
    TestBitmap grid = Plain(24 * columns, 24 * rows, 0);
    for (const auto& [cells, picture] : pictures) {
        for (const auto& [column, row] : cells) {
            Paste(grid, picture, 24 * column, 24 * row);
        }
    }
    return grid;
}

struct BlitFailure {
    const char* name;
    IDirectDrawSurface7** target;
    BltFilter refused;  // null: the target refuses its device context instead
    HRESULT code;
    std::vector<std::string> log;
    ResultCode result;
    bool previewShown;
};

const std::string Lost = "Surface Lost while drawing current Tetrad", Unknown = "Unknown Error Drawing Current Tetrad";
const std::string NoDc = "Couldn't get HDC to draw text";

const BlitFailure PlayFailures[] = {
    {"ClearingTheBoard", &BoardSurface, [](Blit from, const RECT*) { return from == nullptr; }, Refused,
        {"Error Clearing Board Surface"}, ResultOk, true},
    {"BoardCell", &BoardSurface, [](Blit from, const RECT*) { return from == BlockSurfaces[0]; }, Refused,
        {"Error Blitting to Quadrone Board Surface"}, ResultOk, true},
    {"FallingTetradLost", &BoardSurface, [](Blit from, const RECT*) { return from == BlockSurfaces[1]; },
        DDERR_SURFACELOST, {Lost}, ResultSurfaceLost, true},
    {"FallingTetrad", &BoardSurface, [](Blit from, const RECT*) { return from == BlockSurfaces[1]; }, Refused,
        {Unknown}, ResultOk, true},
    {"GhostTetrad", &BoardSurface, [](Blit from, const RECT*) { return from == GhostBlockSurfaces[1]; }, Refused,
        {Unknown}, ResultOk, true},
    {"ClearingThePreview", &NextPieceSurface, [](Blit from, const RECT*) { return from == nullptr; }, Refused,
        {"Error Clearing Next Piece Surface"}, ResultOk, false},
    {"PreviewCellLost", &NextPieceSurface, [](Blit from, const RECT*) { return from == BlockSurfaces[4]; },
        DDERR_SURFACELOST, {Lost}, ResultSurfaceLost, false},
    {"BoardToScreen", &PrimarySurface, [](Blit from, const RECT*) { return from == BoardSurface; }, Refused,
        {"Error during board blt vsync"}, Refused, false},
    {"PreviewToScreen", &PrimarySurface, [](Blit from, const RECT*) { return from == NextPieceSurface; }, Refused,
        {"Error during next piece blt vsync"}, ResultOk, false},
    {"CounterText", &PrimarySurface, nullptr, Refused, {NoDc, NoDc, NoDc}, ResultOk, true},
};

// Here `result` is that of DrawStatic after a spark run.
const BlitFailure EffectFailures[] = {
    {"Spark", &PrimarySurface,
        [](Blit from, const RECT*) { return std::count(SparkSurfaces, SparkSurfaces + 3, from) > 0; }, Refused,
        {"Failed to blit spark"}, ResultOk, false},
    {"StaticScreen1", &PrimarySurface, [](Blit, const RECT* to) { return to->left == ScreenOffset.x + 49; }, Refused,
        {"Error during screen 1 static blit"}, Refused, false},
    {"StaticScreen3", &PrimarySurface, [](Blit, const RECT* to) { return to->left == ScreenOffset.x + 465; }, Refused,
        {"Error during screen 3static blit"}, Refused, false},
};

class PlayScreenFailure : public PlayScreen, public ::testing::WithParamInterface<BlitFailure> {};
class EffectFailure : public PlayScreen, public ::testing::WithParamInterface<BlitFailure> {};

}  // namespace

// The ghost is visible and the counters dirty, so that every step has something to draw. A loss
// that only the composing blits meet is reported like a lost screen, so the frame restores.
TEST_P(PlayScreenFailure, IsLoggedAndTheRestIsDrawn)
{
    const BlitFailure& row = GetParam();
    GhostVisible = CountersDirty = true;
    row.refused != nullptr ? RefuseBlits(*row.target, row.refused, row.code)
                           : RefuseMethod(*row.target, SurfaceGetDC, row.code);
    EXPECT_EQ(DrawPlayScreen(), row.result);
    EXPECT_EQ(ReadDebugLog(), row.log);
    EXPECT_TRUE(ScreenShows(49 + 48, 180 + 48, row.previewShown ? BlockPicture(4) : Plain(24, 24, Grey)));
    EXPECT_EQ(CountersDirty, row.result == Refused) << "only a failed board blit stops the frame before the counters";
    StopRefusingBlits();
    EXPECT_EQ(DrawPlayScreen(), ResultOk) << "the next frame starts afresh";
}
INSTANTIATE_TEST_SUITE_P(Rows, PlayScreenFailure, ::testing::ValuesIn(PlayFailures), RowName);

// A refused spark ends the run at its cell; a refused static area ends the static there.
TEST_P(EffectFailure, IsLoggedOnceAndEndsTheEffect)
{
    RefuseBlits(PrimarySurface, GetParam().refused, GetParam().code);
    DrawSparks(15);
    EXPECT_EQ(DrawStatic(true, true), GetParam().result);
    EXPECT_EQ(ReadDebugLog(), GetParam().log);
}
INSTANTIATE_TEST_SUITE_P(Rows, EffectFailure, ::testing::ValuesIn(EffectFailures), RowName);

// Cells of a tetrad above the top row are left out without a log line; the cells after them are drawn.
TEST_F(PlayScreen, BoardTetradAndPreviewReachTheScreen)
{
    BoardCell(4, 14) = 6;
    const std::pair<Cells, TestBitmap> cell = {{{4, 14}}, BlockPicture(6)};
    ASSERT_EQ(DrawPlayScreen(), ResultOk);
    EXPECT_TRUE(
        ScreenShows(200, 48, Composed(10, 16, {floor, cell, {{{5, 0}, {4, 1}, {5, 1}, {6, 1}}, BlockPicture(1)}})));
    EXPECT_TRUE(ScreenShows(49, 180, Composed(5, 5, {{{{2, 1}, {3, 1}, {2, 2}, {3, 2}}, BlockPicture(4)}})));
    CurrentTetrad = {3, 0, {{0, 1}, {0, 0}, {1, 0}, {2, 0}}, 3};
    GhostVisible = true;
    ASSERT_EQ(DrawPlayScreen(), ResultOk);
    EXPECT_TRUE(ScreenShows(200, 48,
        Composed(10, 16,
            {floor, cell, {{{3, 0}, {4, 0}, {5, 0}}, BlockPicture(3)},
                {{{3, 12}, {3, 13}, {4, 13}, {5, 13}}, BlockPicture(3, true)}})));
    EXPECT_TRUE(ReadDebugLog().empty());
}

// The ghost blinks once more than 75 ms have gathered, and shows where the tetrad would land only
// when that is at least four rows down.
TEST_F(PlayScreen, GhostBlinksAndAppearsFourRowsAboveItsLandingPlace)
{
    GhostTimer = 76;
    CurrentTetrad.y = 11;  // would land on row 15: four rows down
    ASSERT_EQ(DrawPlayScreen(), ResultOk);
    EXPECT_TRUE(GhostVisible);
    EXPECT_EQ(GhostTimer, 0u) << "a blink starts the count afresh";
    EXPECT_TRUE(ScreenShows(200, 48,
        Composed(10, 16,
            {floor, {{{5, 10}, {4, 11}, {5, 11}, {6, 11}}, BlockPicture(1)},
                {{{5, 14}, {4, 15}, {5, 15}, {6, 15}}, BlockPicture(1, true)}})));
    GhostTimer = 75;
    CurrentTetrad.y = 12;  // three rows down
    ASSERT_EQ(DrawPlayScreen(), ResultOk);
    EXPECT_TRUE(GhostVisible) << "no blink at 75 ms";
    EXPECT_EQ(GhostTimer, 75u);
    EXPECT_TRUE(
        ScreenShows(200, 48, Composed(10, 16, {floor, {{{5, 11}, {4, 12}, {5, 12}, {6, 12}}, BlockPicture(1)}})));
}

TEST_F(PlayScreen, CountersWaitForAnActiveWindow)
{
    Score = 1234;
    Level = 7;
    Lines = 42;
    CountersDirty = true;
    TestBitmap panel = Plain(160, 50, Grey);
    const char* lines[] = {"Score: 1234", "Level: 7", "Lines: 42"};  // 15 pixels apart
    for (bool active : {false, true}) {
        GameActive = active;
        DrawPlayScreen();
        EXPECT_EQ(CountersDirty, !active);
        for (int i = 0; i < 3 && active; ++i) {
            panel = WithText(panel, 0, 15 * i, lines[i], White, Black);
        }
        EXPECT_TRUE(ScreenShows(480, 215, panel)) << active;
    }
}

// A remainder above 9990 starts the interference, which then covers the preview with noise while it
// plays; the chance is rolled only once 10 ms of play have gathered.
TEST_F(PlayScreen, InterferenceStartsAboveNineThousandNineHundredNinety)
{
    const uint32_t seed = SeedGiving(9991);  // leaves the generator just after the roll: the next two place the noise
    const int32_t left = Random() % 520, top = Random() % 360;
    const struct {
        const char* what;
        uint32_t seed, timer;
        long starts;
        bool noise;
    } frames[] = {{"9991 before 10 ms have gathered", seed, 9, 0, false}, {"9990", SeedGiving(9990), 10, 0, false},
        {"9991", seed, 10, 1, true}, {"9991 again while it plays", seed, 10, 0, true}};
    for (const auto& frame : frames) {
        SCOPED_TRACE(frame.what);
        SeedRandom(frame.seed);
        InterferenceTimer = frame.timer;
        ClearRecordedCalls();
        DrawPlayScreen();
        const std::vector<std::string> calls = RecordedCalls();
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "PlayEffect static 0 0"), frame.starts);
        EXPECT_EQ(ScreenShows(49, 180, Cut(GamePicture("static1.bmp"), left, top, 120, 120)), frame.noise);
    }
}

// Static copies random windows of the noise picture, and draws no random number when not asked for;
// a spark run plays the zap and leaves the row black.
TEST_F(PlayScreen, EffectsReachTheScreen)
{
    SeedRandom(4321);
    const int32_t left1 = Random() % 520, top1 = Random() % 360, left3 = Random() % 471, top3 = Random() % 380;
    const int32_t next = Random();
    SeedRandom(4321);
    ASSERT_EQ(DrawStatic(true, true), ResultOk);
    EXPECT_EQ(DrawStatic(false, false), ResultOk);
    EXPECT_EQ(Random(), next) << "no random numbers drawn when no area is asked for";
    DrawSparks(15);
    EXPECT_EQ(RecordedCalls(), std::vector<std::string>{"PlayEffect zap 0 0"});
    TestBitmap expected = Plain(640, 480, Grey);
    Paste(expected, Cut(GamePicture("static1.bmp"), left1, top1, 120, 120), 49, 180);
    Paste(expected, Cut(GamePicture("static1.bmp"), left3, top3, 169, 100), 465, 190);
    Paste(expected, Plain(240, 24, 0), 200, 408);
    EXPECT_TRUE(ScreenShows(0, 0, expected));
}
