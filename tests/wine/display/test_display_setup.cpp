// Display setup: the primary surface, its clipper, the mode fallbacks, release and shutdown.
#include "display_fixture.h"

#include "display/display_win32.h"
#include "drawing/menu_button.h"
#include "drawing/picture_set.h"
#include "log/debug_log.h"
#include "platform/main_window_win32.h"
#include "platform/screen.h"

using DisplaySetup = DisplayTest;

namespace {

std::vector<IDirectDrawSurface7*> EverySurface()
{
    std::vector<IDirectDrawSurface7*> all = {PrimarySurface, BoardSurface, NextPieceSurface, BackgroundSurface,
                                             TitleScreenSurface, ControlsSurface, TopScoresSurface, Static1Surface,
                                             Static2Surface};
    all.insert(all.end(), std::begin(BlockSurfaces), std::end(BlockSurfaces));
    all.insert(all.end(), std::begin(GhostBlockSurfaces), std::end(GhostBlockSurfaces));
    all.insert(all.end(), std::begin(SparkSurfaces), std::end(SparkSurfaces));
    for (const MenuButton& button : MenuButtons) {
        all.insert(all.end(), std::begin(button.image), std::end(button.image));
    }
    return all;
}

}  // namespace

TEST_F(DisplaySetup, WindowedStartClipsToTheWindowAndLogsNoModeLines)
{
    ASSERT_NE(DirectDrawObject, nullptr);
    ASSERT_NE(PrimarySurface, nullptr);
    IDirectDrawClipper* attached = nullptr;
    ASSERT_EQ(PrimarySurface->GetClipper(&attached), DD_OK);
    EXPECT_EQ(attached, Clipper);
    attached->Release();
    HWND clipped = nullptr;
    Clipper->GetHWnd(&clipped);
    EXPECT_EQ(clipped, MainWindow);
    EXPECT_TRUE(ReadDebugLog().empty());
    EXPECT_TRUE(OwnedBoxes().empty());
}

// A second call reuses the DirectDraw object, replaces the primary surface and writes "Loading...".
TEST_F(DisplaySetup, SecondInitReusesTheObjectAndShowsLoading)
{
    IDirectDraw7* first = DirectDrawObject;
    ASSERT_EQ(InitDirectDraw(MainWindow), ResultOk);
    EXPECT_EQ(DirectDrawObject, first);
    const SIZE extent = TextExtent("Loading...");
    EXPECT_TRUE(ShowsText("Loading...", 300, 200, Plain(extent.cx, extent.cy, 0xFFFFFF), 0x000000))
        << "black text on a white box";
}

// Full screen needs a window; without one the cooperative level is refused and reported.
TEST_F(DisplaySetup, RefusedCooperativeLevelIsReportedInABox)
{
    ShutdownDisplay(MenuButtons);
    FullScreen = true;
    const ResultCode result = InitDirectDraw(nullptr);
    EXPECT_LT(result, 0);
    ASSERT_EQ(OwnedBoxes().size(), 1u);
    EXPECT_EQ(OwnedBoxes()[0].text, "Failed to set cooperative level");
    EXPECT_EQ(OwnedBoxes()[0].caption, "Error");
    EXPECT_EQ(PrimarySurface, nullptr);
    EXPECT_TRUE(ReadDebugLog().empty());
}

// Whatever modes the display offers, refusals are logged in order and three of them fail the call.
TEST_F(DisplaySetup, FullScreenFallsBackFromThirtyTwoToSixteenToEightBits)
{
    ShutdownDisplay(MenuButtons);
    FullScreen = true;
    const ResultCode result = InitDirectDraw(MainWindow);
    const std::vector<std::string> refusals = {"Failed setting 32 bit display, attempting 16 bit",
                                               "Failed setting 16 bit dispaly mode, attempting 8 bit",
                                               "Failed setting 8 bit display mode... giving up"};
    const std::vector<std::string> log = ReadDebugLog();
    ASSERT_LE(log.size(), refusals.size());
    EXPECT_EQ(log, std::vector<std::string>(refusals.begin(), refusals.begin() + log.size()));
    if (log.size() == refusals.size()) {
        EXPECT_EQ(result, ResultFail);
        EXPECT_EQ(PrimarySurface, nullptr);
        EXPECT_NE(DirectDrawObject, nullptr) << "kept for ReleaseDisplay";
    } else {
        EXPECT_EQ(result, ResultOk);
    }
    EXPECT_TRUE(OwnedBoxes().empty());
    ReleaseDisplay(MenuButtons);
    EXPECT_EQ(DirectDrawObject, nullptr);
}

TEST_F(DisplaySetup, ReleaseAndShutdownClearEveryObjectAndMayRepeat)
{
    InstallGameGraphics();
    LoadGraphics(MenuButtons);
    for (IDirectDrawSurface7* surface : EverySurface()) {
        ASSERT_NE(surface, nullptr);
    }
    ReleaseDisplay(MenuButtons);
    for (IDirectDrawSurface7* surface : EverySurface()) {
        EXPECT_EQ(surface, nullptr);
    }
    EXPECT_EQ(Clipper, nullptr);
    EXPECT_EQ(DirectDrawObject, nullptr);
    ReleaseDisplay(MenuButtons);
    ShutdownDisplay(MenuButtons);
    ASSERT_EQ(InitDirectDraw(MainWindow), ResultOk);
    LoadGraphics(MenuButtons);
    ShutdownDisplay(MenuButtons);
    for (IDirectDrawSurface7* surface : EverySurface()) {
        EXPECT_EQ(surface, nullptr);
    }
    EXPECT_EQ(DirectDrawObject, nullptr);
}

