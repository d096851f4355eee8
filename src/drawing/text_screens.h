// text_screens.h -- title screen and buttons, controls picture, top five, centred text.
#pragma once

#include <cstdint>

#include "common/result_codes.h"
#include "drawing/colours.h"
#include "drawing/menu_button.h"

// Centred across the game area with its top at `top`; an empty text draws nothing.
void DrawCenteredText(const char* text, int32_t top, Colour textColour, Colour backgroundColour);
ResultCode DrawButton(MenuButton button, int32_t state);
ResultCode DrawTitleScreen(const MenuButtonSet& buttons);
void DrawControlsScreen();
void DrawTopFive();
