// picture_set.h -- the title-screen buttons of the picture set.
#pragma once

#include <cstdint>

#include "ports/drawing.h"

// Names the button's three pictures, loads them and places it at (x, y).
void LoadMenuButton(MenuButton& button, const char* name1, const char* name2, const char* name3, int32_t x, int32_t y);

// Loads the three named pictures; the button's size is that of the first.
void LoadMenuButtonImages(MenuButton& button);
