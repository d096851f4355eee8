// Sparks and static on the screen, their failures, and drawing that goes on without its surfaces.
#include "display_fixture.h"

#include <algorithm>

#include "common/random.h"
#include "display/display_win32.h"
#include "drawing/effects.h"
#include "drawing/picture_set.h"
#include "drawing/playfield.h"
#include "drawing/text_screens.h"
#include "game/board.h"
#include "game/frame_state.h"
#include "log/debug_log.h"
#include "platform/main_window_win32.h"
#include "platform/screen.h"

namespace {

using Effects = GameScreenTest;

// Every draw that the game makes, with whatever surfaces exist at the moment.
void DrawEverything()
{
    ClearBoard();
    InitTetradTable();
    SetCurrentTetrad(0);
    SetNextTetrad(1);
    CountersDirty = true;
    GameActive = true;
    GhostVisible = true;
    DrawPlayScreen();
    ClearBoardSurface();
    BlitBoardToScreen();
    BlitNextPieceToScreen();
    DrawScreenText(480, 215, "Score: 0", White, Black);
    DrawTitleScreen(MenuButtons);
    DrawButton(MenuButtons[0], ButtonHover);
    DrawControlsScreen();
    DrawTopFive();
    DrawStatic(true, true);
    DrawSparks(15);
}

struct EffectRefusal {
    const char* name;
    BltFilter refused;   // of the blits onto the screen
    std::vector<std::string> log;
    ResultCode result;
};

bool Spark(IDirectDrawSurface7* source, const RECT*)
{
    return std::count(std::begin(SparkSurfaces), std::end(SparkSurfaces), source) > 0;
}

const EffectRefusal EffectRefusals[] = {
    {"Spark", Spark, {"Failed to blit spark"}, ResultOk},
    {"StaticScreen1", [](IDirectDrawSurface7*, const RECT* to) { return to->left == ScreenOffset.x + 49; },
     {"Error during screen 1 static blit"}, DDERR_UNSUPPORTED},
    {"StaticScreen3", [](IDirectDrawSurface7*, const RECT* to) { return to->left == ScreenOffset.x + 465; },
     {"Error during screen 3static blit"}, DDERR_UNSUPPORTED},
};

class EffectFailure : public GameScreenTest, public ::testing::WithParamInterface<EffectRefusal> {};

}  // namespace

// A refused spark ends the run at its cell; a refused static area ends the static there.
TEST_P(EffectFailure, IsLoggedOnceAndEndsTheEffect)
{
    const EffectRefusal& row = GetParam();
    RefuseBlits(PrimarySurface, row.refused, DDERR_UNSUPPORTED);
    DrawSparks(15);
    EXPECT_EQ(DrawStatic(true, true), row.result);
    EXPECT_EQ(ReadDebugLog(), row.log);
}
INSTANTIATE_TEST_SUITE_P(Rows, EffectFailure, ::testing::ValuesIn(EffectRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Effects, StaticCopiesRandomWindowsOfTheNoisePicture)
{
    SeedRandom(4321);
    const int32_t left1 = Random() % 520, top1 = Random() % 360;
    const int32_t left3 = Random() % 471, top3 = Random() % 380;
    SeedRandom(4321);
    ASSERT_EQ(DrawStatic(true, true), ResultOk);
    TestBitmap expected = Plain(640, 480, Grey);
    Paste(expected, Cut(GamePicture("static1.bmp"), left1, top1, 120, 120), 49, 180);
    Paste(expected, Cut(GamePicture("static1.bmp"), left3, top3, 169, 100), 465, 190);
    EXPECT_TRUE(ScreenShows(0, 0, expected));

    SeedRandom(99);
    const int32_t first = Random();
    SeedRandom(99);
    EXPECT_EQ(DrawStatic(false, false), ResultOk);
    EXPECT_EQ(Random(), first) << "no random numbers drawn";
}

TEST_F(Effects, SparkRunPlaysTheZapAndLeavesTheRowBlack)
{
    DrawSparks(15);
    EXPECT_EQ(RecordedCalls(), std::vector<std::string>{"PlayEffect zap 0 0"});
    TestBitmap expected = Plain(640, 480, Grey);
    Paste(expected, Plain(240, 24, 0), 200, 408);
    EXPECT_TRUE(ScreenShows(0, 0, expected));
    EXPECT_TRUE(ReadDebugLog().empty());
}

// After a display switch whose setup failed, or without "graphics.vbf", nothing crashes and
// nothing floods the log; the play screen reports that there is no screen to draw on.
TEST_F(Effects, DrawingWithoutSurfacesNeverCrashes)
{
    ShutdownDisplay(MenuButtons);
    DrawEverything();
    EXPECT_EQ(DrawPlayScreen(), ResultNotInitialized);
    EXPECT_EQ(DrawTitleScreen(MenuButtons), ResultNotInitialized);
    EXPECT_EQ(RestoreSurfaces(MenuButtons), ResultFail);

    DeleteFileA("graphics.vbf");
    ASSERT_EQ(InitDirectDraw(MainWindow), ResultOk);
    LoadGraphics(MenuButtons);
    EXPECT_EQ(BoardSurface, nullptr);
    EXPECT_EQ(TitleScreenSurface, nullptr);
    DrawEverything();
    EXPECT_EQ(DrawPlayScreen(), ResultOk);
    EXPECT_EQ(DrawTitleScreen(MenuButtons), ResultOk);
    EXPECT_TRUE(ReadDebugLog().empty());
    EXPECT_TRUE(ScreenShows(0, 0, Plain(640, 480, 0))) << "a title screen without its picture is black";
}
