// drawing.h -- what the game asks of the display: the play screen, the text screens and the
// title's buttons, the spark and static effects, and the pictures they are made of.
#pragma once

#include <array>
#include <cstdint>

#include "core/common/result_codes.h"

// COLORREF values (0x00BBGGRR) of the game's texts.
using Colour = uint32_t;
constexpr Colour White = 0xFFFFFF;
constexpr Colour Black = 0x000000;
constexpr Colour Yellow = 0x00FFFF;
constexpr Colour HeadingRed = 0x1E1E96;  // red 150, green 30, blue 30
constexpr Colour TransparentBackground = 0xFFFFFFFF;

struct IDirectDrawSurface7;

constexpr int32_t ButtonNormal = 0;
constexpr int32_t ButtonHover = 1;
constexpr int32_t ButtonPressed = 2;
constexpr int32_t ButtonPictureUnknown = -1;
constexpr int MenuButtonCount = 3;
constexpr int MenuButtonNameSize = 260;

// One title-screen button: three pictures, where it sits, and its state.
struct MenuButton {
    IDirectDrawSurface7* image[3];     // normal, hover, pressed
    char name[3][MenuButtonNameSize];  // archive entries, kept for the restore
    int32_t x;
    int32_t y;
    int32_t width;  // of the normal picture
    int32_t height;
    int32_t state;
    // The picture on the screen; unknown when something may have been drawn over it.
    int32_t shown = ButtonPictureUnknown;
};

// Play, Scores, Quit, in this order. The shell owns them; the frame and the display get them by reference.
using MenuButtonSet = std::array<MenuButton, MenuButtonCount>;

// Every picture from "graphics.vbf", and their refill after a loss.
void LoadGraphics(MenuButtonSet& buttons);
ResultCode RestoreSurfaces(MenuButtonSet& buttons);

// Composes the board and preview and puts them on the screen; 0 or the failed board blit's code.
ResultCode DrawPlayScreen();
void ClearBoardSurface();
ResultCode BlitBoardToScreen();
ResultCode BlitNextPieceToScreen();

// Text at a game-area position; TransparentBackground for none.
void DrawScreenText(int32_t x, int32_t y, const char* text, Colour textColour, Colour backgroundColour);
// Centred across the game area with its top at `top`; an empty text draws nothing.
void DrawCenteredText(const char* text, int32_t top, Colour textColour, Colour backgroundColour);

// The play screen's background over the whole game area; false when there is no such picture.
bool DrawBackground(MenuButtonSet& buttons);

ResultCode DrawButton(MenuButton button, int32_t state);
ResultCode DrawTitleScreen(const MenuButtonSet& buttons);
void DrawControlsScreen();
void DrawTopFive();

// Plays the zap and runs a spark along the row on the screen; returns after about 200 ms.
void DrawSparks(int32_t row);
// Noise over the next-piece box (screen 1) and/or the counter panel (screen 3).
ResultCode DrawStatic(bool screen1, bool screen3);
