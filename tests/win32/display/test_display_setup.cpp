// Display setup: the primary surface and its clipper, every refused step, release and shutdown, and
// drawing without the display.
#include "display_fixture.h"

#include "core/game/board.h"
#include "core/game/frame_state.h"
#include "ports/drawing.h"
#include "win32/shell/main_window.h"

namespace {

constexpr HRESULT Refused = DDERR_UNSUPPORTED;  // not E_FAIL, so that a code passed on shows
DWORD DeepestMode = 0;

HRESULT WINAPI RefuseDirectDraw(GUID*, void**, REFIID, IUnknown*)
{
    return Refused;
}

// Full screen on a display that offers 640 x 480 at `deepest` bits per pixel or fewer.
void FullScreenUpTo(DWORD deepest)
{
    FullScreen = true;
    DeepestMode = deepest;
    auto offer = [](IDirectDraw7*, DWORD, DWORD, DWORD bits, DWORD, DWORD) {
        return bits <= DeepestMode ? DD_OK : DDERR_INVALIDMODE;
    };
    ReplaceMethod(DirectDrawObject, DrawSetDisplayMode, reinterpret_cast<void*>(+offer));
}

const std::string Refused32 = "Failed setting 32 bit display, attempting 16 bit";
const std::string Refused16 = "Failed setting 16 bit dispaly mode, attempting 8 bit";

struct SetupFailure {
    const char* name;
    void (*arrange)();  // on a DirectDraw object and nothing else
    std::vector<std::string> log;
    std::vector<std::string> boxes;
    ResultCode result;
    bool objectKept;
};

void Refuse(ComMethod method)
{
    RefuseMethod(DirectDrawObject, method, Refused);
}
void RefuseInMade(ComMethod creator, ComMethod method)
{
    RefuseInObjectsMade(DirectDrawObject, creator, method, Refused);
}

const SetupFailure SetupFailures[] = {
    {"DirectDrawObject",
        [] {
            ReleaseDisplay(MenuButtons);
            CreateDirectDraw = RefuseDirectDraw;
        },
        {}, {"Error: Error initializing DirectDraw"}, Refused, false},
    {"CooperativeLevel", [] { Refuse(DrawSetCooperativeLevel); }, {}, {"Error: Failed to set cooperative level"},
        Refused, true},
    {"WindowedSetsNoMode",
        [] {
            FullScreenUpTo(0);
            FullScreen = false;
        },
        {}, {}, ResultOk, true},
    {"ThirtyTwoBits", [] { FullScreenUpTo(16); }, {Refused32}, {}, ResultOk, true},
    {"SixteenBits", [] { FullScreenUpTo(8); }, {Refused32, Refused16}, {}, ResultOk, true},
    {"EightBits", [] { FullScreenUpTo(0); }, {Refused32, Refused16, "Failed setting 8 bit display mode... giving up"},
        {}, ResultFail, true},
    {"PrimarySurface", [] { Refuse(DrawCreateSurface); }, {}, {"Error: Failed to create primary surface"}, Refused,
        true},
    {"ClipperCreation", [] { Refuse(DrawCreateClipper); }, {}, {}, ResultFail, false},
    {"ClipperBinding", [] { RefuseInMade(DrawCreateClipper, ClipperSetHWnd); }, {}, {}, ResultFail, false},
    {"ClipperAttachment", [] { RefuseInMade(DrawCreateSurface, SurfaceSetClipper); }, {}, {}, ResultFail, false},
};

class DisplaySetupFailure : public DisplayTest, public ::testing::WithParamInterface<SetupFailure> {};

// Every draw that the game makes, with whatever surfaces exist at the moment.
void DrawEverything()
{
    InitTetradTable();
    CountersDirty = GameActive = GhostVisible = true;
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

// Where the display is made, the clipper is bound to the window and "Loading..." is shown.
TEST_P(DisplaySetupFailure, IsReportedAndReturned)
{
    const SetupFailure& row = GetParam();
    ReleaseDisplay(MenuButtons);
    ASSERT_EQ(CreateDirectDraw(nullptr, reinterpret_cast<void**>(&DirectDrawObject), IID_IDirectDraw7, nullptr), DD_OK);
    row.arrange();
    EXPECT_EQ(InitDirectDraw(MainWindow), row.result);
    EXPECT_EQ(ReadDebugLog(), row.log);
    EXPECT_EQ(OwnedBoxes, row.boxes);
    EXPECT_EQ(DirectDrawObject != nullptr, row.objectKept) << "kept for ReleaseDisplay, or released with the rest";
    EXPECT_EQ(PrimarySurface != nullptr && Clipper != nullptr, row.result == ResultOk);
    if (row.result == ResultOk) {
        HWND clipped = nullptr;
        Clipper->GetHWnd(&clipped);
        EXPECT_EQ(clipped, MainWindow);
        const SIZE loading = TextExtent("Loading...");
        EXPECT_TRUE(
            ScreenShows(300, 200, WithText(Plain(loading.cx, loading.cy, 0), 0, 0, "Loading...", Black, White)));
    }
}
INSTANTIATE_TEST_SUITE_P(Rows, DisplaySetupFailure, ::testing::ValuesIn(SetupFailures), RowName);

using DisplaySetup = DisplayTest;

// Release and shutdown clear every object and may repeat. After them, or without "graphics.vbf", every
// draw goes on without a crash or a log line, and the play screen reports that there is no screen.
TEST_F(DisplaySetup, ReleaseClearsEveryObjectAndDrawingGoesOnWithoutThem)
{
    WriteGraphicsArchive(GameGraphicsFiles());
    for (void (*release)(MenuButtonSet&) : {ReleaseDisplay, ShutdownDisplay}) {
        ASSERT_EQ(InitDirectDraw(MainWindow), ResultOk);
        LoadGraphics(MenuButtons);
        std::vector<IDirectDrawSurface7**> all = GamePictureSurfaces();
        all.insert(all.end(), {&PrimarySurface, &BoardSurface, &NextPieceSurface});
        for (IDirectDrawSurface7** surface : all) {
            ASSERT_NE(*surface, nullptr);
        }
        release(MenuButtons);
        release(MenuButtons);
        for (IDirectDrawSurface7** surface : all) {
            EXPECT_EQ(*surface, nullptr);
        }
        EXPECT_TRUE(Clipper == nullptr && DirectDrawObject == nullptr);
        DrawEverything();
        EXPECT_EQ(DrawPlayScreen(), ResultNotInitialized);
        EXPECT_EQ(DrawTitleScreen(MenuButtons), ResultNotInitialized);
        EXPECT_EQ(RestoreSurfaces(MenuButtons), ResultFail);
    }
    DeleteFileA("graphics.vbf");
    ASSERT_EQ(InitDirectDraw(MainWindow), ResultOk);
    ClearDebugLog();
    LoadGraphics(MenuButtons);
    EXPECT_EQ(BoardSurface, nullptr);
    EXPECT_EQ(TitleScreenSurface, nullptr);
    DrawEverything();
    EXPECT_EQ(DrawPlayScreen(), ResultOk);
    EXPECT_EQ(DrawTitleScreen(MenuButtons), ResultOk);
    EXPECT_TRUE(ReadDebugLog().empty());
}
