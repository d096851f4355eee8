// The SDL display composes each screen on the game area as the Windows build composes it: the
// pictures at their places, the buttons in their states, the play screen's board, ghost, tetrad
// and preview, the texts in the glyph sheet's font, and the game area on the window, scaled by
// whole pixels. The pictures are one colour each, so every pixel is known.
#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "core/display/glyph_sheet.h"
#include "core/game/board.h"
#include "core/game/frame_state.h"
#include "core/game/play_screen.h"
#include "core/log/debug_log.h"
#include "sdl/display/display.h"
#include "sdl/shell/shell.h"
#include "stored_files.h"
#include "test_support.h"

namespace {

constexpr uint32_t TitleColour = 0x204060;
constexpr uint32_t BackgroundColour = 0x102030;
constexpr uint32_t ControlsColour = 0x405060;
constexpr uint32_t Unset = 0x010203;

uint32_t ButtonColour(int button, int state)
{
    return 0x800000 | button << 8 | (state + 1);
}
uint32_t BlockColour(int colour)
{
    return 0x00A000 | colour;
}
uint32_t GhostColour(int colour)
{
    return 0x0000A0 | colour << 8;
}

Bytes Solid(int32_t width, int32_t height, uint32_t rgb)
{
    return MakeBitmap(width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, rgb));
}

// Every glyph advances four pixels and has ink only in its top-left corner.
Bytes DotFont()
{
    std::vector<uint32_t> pixels(static_cast<size_t>(GlyphSheetWidth) * GlyphSheetHeight, 0);
    for (int glyph = 0; glyph < GlyphCount; ++glyph) {
        const int left = glyph % GlyphColumns * GlyphCellWidth;
        const int top = glyph / GlyphColumns * GlyphCellHeight;
        pixels[static_cast<size_t>(top) * GlyphSheetWidth + left] = 0xFFFFFF;
        for (int x = 0; x < 4; ++x) {
            pixels[static_cast<size_t>(top + GlyphLineHeight) * GlyphSheetWidth + left + x] = 0xFFFFFF;
        }
    }
    return MakeBitmap(GlyphSheetWidth, GlyphSheetHeight, pixels);
}

class SdlDisplay : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        std::snprintf(DataFolder, DataPathSize, "./");
        std::snprintf(SaveFolder, DataPathSize, "./");
        HandArchive archive;
        archive.Store("titlescreen.bmp", Solid(640, 480, TitleColour));
        archive.Store("background.bmp", Solid(640, 480, BackgroundColour));
        archive.Store("controls.bmp", Solid(240, 180, ControlsColour));
        for (int i = 1; i <= BlockPictureCount; ++i) {
            archive.Store("block" + std::to_string(i) + ".bmp", Solid(24, 24, BlockColour(i - 1)));
            archive.Store("block" + std::to_string(i) + "-ghost.bmp", Solid(24, 24, GhostColour(i - 1)));
        }
        const char* prefixes[] = {"play", "scores", "quit"};
        for (int button = 0; button < MenuButtonCount; ++button) {
            for (int state = 0; state < ButtonStateCount; ++state) {
                archive.Store(std::string(prefixes[button]) + "-" + std::to_string(state + 1) + ".bmp",
                    Solid(100, 40, ButtonColour(button, state)));
            }
        }
        archive.Store(GlyphSheetName, DotFont());
        WriteFileBytes("graphics.vbf", archive.Finish());
        ResetDataArchive();
        ASSERT_TRUE(CreateScreen());
        SDL_FillRect(Screen, nullptr, Unset);
        LoadGraphics(buttons);
    }
    void TearDown() override
    {
        ReleaseDisplay(buttons);
        TempDirTest::TearDown();
    }
    static uint32_t Pixel(SDL_Surface* surface, int x, int y)
    {
        return *reinterpret_cast<const Uint32*>(
                   static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch + x * 4) &
               0xFFFFFF;
    }
    static uint32_t Pixel(int x, int y) { return Pixel(Screen, x, y); }
    struct Point {
        int x, y;
        uint32_t colour;
    };
    static void ExpectPixels(SDL_Surface* surface, std::initializer_list<Point> points)
    {
        for (const Point& p : points) {
            EXPECT_EQ(Pixel(surface, p.x, p.y), p.colour) << "at " << p.x << "," << p.y;
        }
    }
    MenuButtonSet buttons = {};
};

}  // namespace

TEST_F(SdlDisplay, TitleShowsItsPictureWithEachButtonInEachState)
{
    ASSERT_EQ(DrawTitleScreen(buttons), ResultOk);
    ExpectPixels(Screen, {{0, 0, TitleColour}, {639, 479, TitleColour}});
    const struct {
        int x, y;
    } places[] = {{470, 180}, {410, 260}, {470, 338}};
    for (int button = 0; button < MenuButtonCount; ++button) {
        SCOPED_TRACE(button);
        EXPECT_EQ(buttons[button].x, places[button].x);
        EXPECT_EQ(buttons[button].width, 100);
        EXPECT_EQ(buttons[button].height, 40);
        for (int state : {ButtonHover, ButtonPressed, ButtonNormal}) {
            ASSERT_EQ(DrawButton(buttons[button], state), ResultOk);
            const int x = places[button].x;
            const int y = places[button].y;
            ExpectPixels(Screen, {{x, y, ButtonColour(button, state)}, {x + 99, y + 39, ButtonColour(button, state)},
                                     {x + 100, y + 39, TitleColour}, {x - 1, y, TitleColour}});
        }
    }
    EXPECT_EQ(DrawButton(buttons[0], 3), ResultOk);
    EXPECT_EQ(Pixel(470, 180), ButtonColour(0, ButtonNormal));
    // The controls picture is stretched over its rectangle, whatever its own size.
    DrawControlsScreen();
    ExpectPixels(
        Screen, {{80, 60, ControlsColour}, {559, 419, ControlsColour}, {79, 60, TitleColour}, {560, 419, TitleColour}});
}

// A board with one filled cell, the falling tetrad with its ghost far below, and the preview.
TEST_F(SdlDisplay, PlayScreenComposesBoardGhostTetradAndPreview)
{
    ClearBoard();
    InitTetradTable();
    SetCurrentTetrad(2);
    SetNextTetrad(5);
    BoardCell(9, 15) = 6;
    GhostVisible = true;
    GhostTimer = 0;
    GameActive = false;
    ASSERT_TRUE(DrawBackground(buttons));
    ASSERT_EQ(DrawPlayScreen(), ResultOk);
    Tetrad ghost;
    ASSERT_TRUE(GhostLandingPlace(CurrentTetrad, ghost));
    const auto cell = [](int column, int row) { return Pixel(200 + 24 * column + 5, 48 + 24 * row + 5); };
    EXPECT_EQ(cell(9, 15), BlockColour(6));
    EXPECT_EQ(cell(0, 15), 0u) << "an empty cell is black";
    for (const TetradCell& part : ghost.cells) {
        EXPECT_EQ(cell(ghost.x + part.dx, ghost.y - part.dy), GhostColour(CurrentTetrad.colour));
    }
    for (const TetradCell& part : CurrentTetrad.cells) {
        EXPECT_EQ(cell(CurrentTetrad.x + part.dx, CurrentTetrad.y - part.dy), BlockColour(CurrentTetrad.colour));
    }
    for (int column = 0; column < 5; ++column) {
        for (int row = 0; row < 5; ++row) {
            bool filled = false;
            for (const TetradCell& part : NextTetrad.cells) {
                filled = filled || (part.dx + 2 == column && 2 - part.dy == row);
            }
            EXPECT_EQ(Pixel(49 + 24 * column + 23, 180 + 24 * row), filled ? BlockColour(NextTetrad.colour) : 0u);
        }
    }
    ExpectPixels(Screen, {{199, 48, BackgroundColour}, {440, 431, BackgroundColour}});
}

// Opaque texts sit on a box as large as their advances and a line; centred ones are centred.
TEST_F(SdlDisplay, TextsAreDrawnInTheFontAtTheirPlacesAndColours)
{
    DrawScreenText(100, 50, "AB", Yellow, Black);
    ExpectPixels(Screen, {{100, 50, 0xFFFF00}, {104, 50, 0xFFFF00}, {101, 50, 0}, {107, 50 + GlyphLineHeight - 1, 0},
                             {108, 50, Unset}, {100, 50 + GlyphLineHeight, Unset}});
    DrawScreenText(100, 100, "A", White, TransparentBackground);
    ExpectPixels(Screen, {{100, 100, 0xFFFFFF}, {101, 100, Unset}});
    // Eight characters of four pixels: (640 - 32) / 2.
    DrawCenteredText("Top Five", 155, White, HeadingRed);
    ExpectPixels(Screen,
        {{304, 155, 0xFFFFFF}, {305, 155, 0x961E1E}, {335, 155, 0x961E1E}, {303, 155, Unset}, {336, 155, Unset}});
}

// A window larger than twice the game area shows it doubled, centred on black; the mouse maps back.
TEST_F(SdlDisplay, TheGameAreaIsScaledByWholePixelsAndCentredInTheWindow)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_TRUE(CreateMainWindow()) << SDL_GetError();
    SDL_SetWindowSize(MainWindow, 1300, 1000);
    ASSERT_TRUE(LayOutWindow());
    DrawTitleScreen(buttons);
    PresentScreen();
    SDL_Surface* window = SDL_GetWindowSurface(MainWindow);
    ASSERT_EQ(window->w, 1300);
    ExpectPixels(
        window, {{9, 20, 0}, {10, 20, TitleColour}, {10 + 2 * 470, 20 + 2 * 180, ButtonColour(0, ButtonNormal)},
                    {10 + 2 * 470 - 1, 20 + 2 * 180, TitleColour}, {1289, 979, TitleColour}, {1290, 979, 0}});
    const ScreenPoint inside = GameAreaPoint(10 + 2 * 470 + 1, 20);
    const ScreenPoint outside = GameAreaPoint(9, 19);
    EXPECT_EQ(inside.x, 470);
    EXPECT_EQ(inside.y, 0);
    EXPECT_EQ(outside.x, -1);
    EXPECT_EQ(outside.y, -1);
    SDL_DestroyWindow(MainWindow);
    MainWindow = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

// 1:1, a present puts on the window what differs from it: after each one, however little changed
// and wherever, the window holds the game area pixel for pixel.
TEST_F(SdlDisplay, EachPresentLeavesTheWindowHoldingTheGameArea)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_TRUE(CreateMainWindow()) << SDL_GetError();
    ASSERT_TRUE(LayOutWindow());
    SDL_Surface* window = SDL_GetWindowSurface(MainWindow);
    const auto firstStaleRow = [window] {
        for (int y = 0; y < GameAreaHeight; ++y) {
            if (std::memcmp(static_cast<uint8_t*>(Screen->pixels) + y * Screen->pitch,
                    static_cast<uint8_t*>(window->pixels) + y * window->pitch, GameAreaWidth * 4) != 0) {
                return y;
            }
        }
        return -1;
    };
    DrawTitleScreen(buttons);
    PresentScreen();
    EXPECT_EQ(firstStaleRow(), -1) << "the first present";
    FillScreen(SDL_Rect{639, 479, 1, 1}, White);
    PresentScreen();
    EXPECT_EQ(firstStaleRow(), -1) << "one pixel in the far corner";
    FillScreen(SDL_Rect{0, 0, 1, 1}, White);
    DrawTitleScreen(buttons);
    PresentScreen();
    EXPECT_EQ(firstStaleRow(), -1) << "the title drawn again over both corners";
    SDL_DestroyWindow(MainWindow);
    MainWindow = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
