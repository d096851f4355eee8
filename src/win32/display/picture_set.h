// picture_set.h -- the title-screen buttons of the picture set.
#pragma once

#include "ports/drawing.h"

// Loads the three named pictures; the button's size is that of the first.
void LoadMenuButtonImages(MenuButton& button);
