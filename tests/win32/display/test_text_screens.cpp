// Title screen, buttons, centred text and the top-five table as they appear on the screen.
#include "display_fixture.h"

#include <cstring>
#include <utility>

#include "core/game/high_scores.h"
#include "ports/drawing.h"

using TextScreens = GameScreenTest;

// The title shows its buttons in their normal state, and black behind them without its picture. A button
// shows the picture of the state asked for, and nothing for an unknown state or a missing picture.
TEST_F(TextScreens, TitleScreenAndButtons)
{
    MenuButtons[0].state = ButtonPressed;
    TestBitmap expected;
    for (bool withPicture : {true, false}) {
        if (!withPicture) {
            std::exchange(TitleScreenSurface, nullptr)->Release();
        }
        ASSERT_EQ(DrawTitleScreen(MenuButtons), ResultOk);
        expected = withPicture ? GamePicture("titlescreen.bmp") : Plain(640, 480, 0);
        for (const MenuButton& button : MenuButtons) {
            Paste(expected, GamePicture(button.name[0]), button.x, button.y);
        }
        EXPECT_TRUE(ScreenShows(0, 0, expected)) << withPicture;
    }
    MenuButton hoverless = MenuButtons[0];
    hoverless.image[ButtonHover] = nullptr;
    for (const auto& [button, state] : {std::pair{MenuButtons[1], ButtonPressed}, {MenuButtons[1], 3},
             {MenuButtons[1], -1}, {hoverless, ButtonHover}}) {
        EXPECT_EQ(DrawButton(button, state), ResultOk) << "state " << state;
    }
    Paste(expected, GamePicture("scores-3.bmp"), 410, 260);
    EXPECT_TRUE(ScreenShows(0, 0, expected));
}

// The heading is centred on its box; names are bounded to their field; scores print as signed numbers;
// an empty name leaves no ink, and an empty centred text draws nothing.
TEST_F(TextScreens, TopFiveShowsPlateHeadingAndTable)
{
    const std::string bounded(HighScoreNameSize, 'i');
    const std::string rows[HighScoreRows][2] = {
        {"ABC", "-2147483648"}, {"", "5000"}, {bounded, "400"}, {"XY", "30"}, {"Z", "0"}};
    for (int row = 0; row < HighScoreRows; ++row) {
        std::memset(HighScoreTable[row].name, 0, HighScoreNameSize);
        std::memcpy(HighScoreTable[row].name, rows[row][0].data(),
            rows[row][0].size());  // no terminator in a full field
        HighScoreTable[row].score = static_cast<uint32_t>(std::stoll(rows[row][1]));
    }
    DrawTopFive();
    DrawCenteredText("", 100, White, Black);

    TestBitmap expected = Plain(640, 480, Grey);
    Paste(expected, GamePicture("topscores.bmp"), 234, 136);
    expected = WithText(expected, (640 - TextExtent("Top Five").cx) / 2, 155, "Top Five", White, HeadingRed);
    for (int row = 0; row < HighScoreRows; ++row) {
        expected = WithText(expected, 255, 195 + 15 * row, rows[row][0].c_str(), Yellow, TransparentBackground);
        expected = WithText(expected, 345, 195 + 15 * row, rows[row][1].c_str(), Yellow, TransparentBackground);
    }
    EXPECT_TRUE(ScreenShows(0, 0, expected));
    EXPECT_TRUE(ReadDebugLog().empty());
}
