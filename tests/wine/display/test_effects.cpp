// Sparks and static on the screen, and drawing that goes on without its surfaces.
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

}  // namespace

TEST_F(Effects, StaticCopiesRandomWindowsOfTheNoisePicture)
{
    SeedRandom(4321);
    const int32_t left1 = Random() % 520, top1 = Random() % 360;
    const int32_t left3 = Random() % 471, top3 = Random() % 380;
    SeedRandom(4321);
    ASSERT_EQ(DrawStatic(true, true), ResultOk);
    EXPECT_EQ(NoiseDifferences(49, 180, 120, 120, left1, top1), 0);
    EXPECT_EQ(NoiseDifferences(465, 190, 169, 100, left3, top3), 0);
    EXPECT_EQ(ScreenPixel(48, 180), Grey);
    EXPECT_EQ(ScreenPixel(634, 190), Grey);

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
    const TestBitmap row = ScreenArea(200, 408, 240, 24);
    EXPECT_EQ(std::count(row.pixels.begin(), row.pixels.end(), 0u), 240 * 24);
    EXPECT_EQ(ScreenPixel(200, 407), Grey);
    EXPECT_EQ(ScreenPixel(199, 408), Grey);
    EXPECT_EQ(ScreenPixel(440, 408), Grey);
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

    FullScreen = true;
    InitDirectDraw(MainWindow);
    LoadGraphics(MenuButtons);
    DrawEverything();
    ReleaseDisplay(MenuButtons);
    FullScreen = false;
    const std::vector<std::string> log = ReadDebugLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Failed to blit spark"), 0);

    DeleteFileA("graphics.vbf");
    ASSERT_EQ(InitDirectDraw(MainWindow), ResultOk);
    ResetDataArchive();
    ClearDebugLog();
    LoadGraphics(MenuButtons);
    EXPECT_EQ(BoardSurface, nullptr);
    EXPECT_EQ(TitleScreenSurface, nullptr);
    DrawEverything();
    EXPECT_EQ(DrawPlayScreen(), ResultOk);
    EXPECT_EQ(DrawTitleScreen(MenuButtons), ResultOk);
    EXPECT_TRUE(ReadDebugLog().empty());
    EXPECT_EQ(ScreenPixel(320, 240), 0u) << "a title screen without its picture is black";
}
