// Title screen, buttons, centred text and the top-five table as they appear on the screen.
#include "display_fixture.h"

#include <algorithm>
#include <cstring>

#include "display/display_win32.h"
#include "drawing/picture_set.h"
#include "drawing/text_screens.h"
#include "game/high_scores.h"
#include "log/debug_log.h"

namespace {

void Paste(TestBitmap& onto, const TestBitmap& picture, int32_t left, int32_t top)
{
    for (int32_t y = 0; y < picture.height; ++y) {
        for (int32_t x = 0; x < picture.width; ++x) {
            onto.pixels[static_cast<size_t>(top + y) * onto.width + left + x] = picture.At(x, y);
        }
    }
}

TestBitmap Cut(const TestBitmap& picture, int32_t left, int32_t top, int32_t width, int32_t height)
{
    TestBitmap part = Plain(width, height, 0);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            part.pixels[static_cast<size_t>(y) * width + x] = picture.At(left + x, top + y);
        }
    }
    return part;
}

class TextScreens : public GameScreenTest {
protected:
    TestBitmap TitleWithButtons(TestBitmap title)
    {
        for (const MenuButton& button : MenuButtons) {
            Paste(title, GamePicture(button.name[0]), button.x, button.y);
        }
        return title;
    }

    // What lies under a text drawn at game-area (x, y) on the plate, a little wider than the text.
    TestBitmap PlateUnder(const char* text, int32_t x, int32_t y)
    {
        TestBitmap screen = Plain(640, 480, Grey);
        Paste(screen, GamePicture("topscores.bmp"), 234, 136);
        const SIZE extent = TextExtent(text);
        return Cut(screen, x, y, extent.cx + 4, extent.cy);
    }
};

}  // namespace

TEST_F(TextScreens, TitleScreenShowsPictureAndNormalButtons)
{
    MenuButtons[0].state = ButtonPressed;
    ASSERT_EQ(DrawTitleScreen(MenuButtons), ResultOk);
    const TestBitmap expected = TitleWithButtons(GamePicture("titlescreen.bmp"));
    EXPECT_EQ(CountDifferences(ScreenArea(0, 0, 640, 480), expected), 0);
}

// Without its picture the title screen is black behind the buttons, not what was there before.
TEST_F(TextScreens, TitleScreenWithoutItsPictureStillShowsTheButtons)
{
    TitleScreenSurface->Release();
    TitleScreenSurface = nullptr;
    ASSERT_EQ(DrawTitleScreen(MenuButtons), ResultOk);
    EXPECT_EQ(CountDifferences(ScreenArea(0, 0, 640, 480), TitleWithButtons(Plain(640, 480, 0))), 0);
    EXPECT_TRUE(ReadDebugLog().empty());
}

TEST_F(TextScreens, ButtonShowsThePictureOfItsStateOrNothing)
{
    ASSERT_EQ(DrawButton(MenuButtons[1], ButtonPressed), ResultOk);
    const TestBitmap pressed = GamePicture("scores-3.bmp");
    EXPECT_EQ(CountDifferences(ScreenArea(410, 260, pressed.width, pressed.height), pressed), 0);

    FillScreen(Grey);
    EXPECT_EQ(DrawButton(MenuButtons[1], 3), ResultOk);
    EXPECT_EQ(DrawButton(MenuButtons[1], -1), ResultOk);
    MenuButton hoverless = MenuButtons[0];
    hoverless.image[ButtonHover] = nullptr;
    EXPECT_EQ(DrawButton(hoverless, ButtonHover), ResultOk);
    EXPECT_EQ(CountDifferences(ScreenArea(0, 0, 640, 480), Plain(640, 480, Grey)), 0);
}

TEST_F(TextScreens, CentredTextSitsOnItsBoxInTheMiddle)
{
    DrawCenteredText("", 100, White, Black);
    EXPECT_EQ(CountDifferences(ScreenArea(0, 0, 640, 480), Plain(640, 480, Grey)), 0);

    DrawCenteredText("     Enter your initials:     ", 220, White, Black);
    const SIZE extent = TextExtent("     Enter your initials:     ");
    const int32_t left = (640 - extent.cx) / 2;
    const TestBitmap box = ScreenArea(left, 220, extent.cx, extent.cy);
    EXPECT_EQ(std::count(box.pixels.begin(), box.pixels.end(), Grey), 0);
    EXPECT_TRUE(ShowsText("     Enter your initials:     ", left, 220, Plain(extent.cx, extent.cy, 0), 0xFFFFFF));
    EXPECT_EQ(ScreenPixel(left - 1, 220), Grey);
    EXPECT_EQ(ScreenPixel(left + extent.cx, 220), Grey);
    EXPECT_EQ(ScreenPixel(left, 219), Grey);
    EXPECT_EQ(ScreenPixel(left, 220 + extent.cy), Grey);
    EXPECT_TRUE(ReadDebugLog().empty());
}

// Names are bounded to their field; scores print as signed numbers; an empty name leaves no ink.
TEST_F(TextScreens, TopFiveShowsPlateHeadingAndTable)
{
    const char* names[HighScoreRows] = {"ABC", "", "i", "XY", "Z"};
    const uint32_t scores[HighScoreRows] = {2147483648u, 5000, 400, 30, 0};
    for (int row = 0; row < HighScoreRows; ++row) {
        std::memset(HighScoreTable[row].name, 0, HighScoreNameSize);
        std::strcpy(HighScoreTable[row].name, names[row]);
        HighScoreTable[row].score = scores[row];
    }
    std::memset(HighScoreTable[2].name, 'i', HighScoreNameSize);   // no terminator in the field
    DrawTopFive();

    const uint32_t yellow = 0xFFFF00;
    const std::string bounded(HighScoreNameSize, 'i');
    EXPECT_TRUE(ShowsText("ABC", 255, 195, PlateUnder("ABC", 255, 195), yellow));
    EXPECT_TRUE(ShowsText("-2147483648", 345, 195, PlateUnder("-2147483648", 345, 195), yellow));
    EXPECT_TRUE(ShowsText("5000", 345, 210, PlateUnder("5000", 345, 210), yellow));
    EXPECT_TRUE(ShowsText(bounded.c_str(), 255, 225, PlateUnder(bounded.c_str(), 255, 225), yellow));
    EXPECT_TRUE(ShowsText("0", 345, 255, PlateUnder("0", 345, 255), yellow));
    EXPECT_EQ(CountDifferences(ScreenArea(255, 210, 80, 14), Cut(GamePicture("topscores.bmp"), 21, 74, 80, 14)), 0)
        << "an empty name leaves the plate as it is";

    const TestBitmap plate = GamePicture("topscores.bmp");
    EXPECT_EQ(ScreenPixel(234, 136), plate.At(0, 0));
    EXPECT_EQ(ScreenPixel(405, 288), plate.At(171, 152));
    const SIZE heading = TextExtent("Top Five");
    EXPECT_TRUE(ShowsText("Top Five", (640 - heading.cx) / 2, 155, Plain(heading.cx, heading.cy, 0x961E1E), 0xFFFFFF));
    EXPECT_EQ(ScreenPixel((640 - heading.cx) / 2, 155), 0x961E1Eu) << "red 150, green 30, blue 30";
    EXPECT_TRUE(ReadDebugLog().empty());
}
