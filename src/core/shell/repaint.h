// repaint.h -- what a whole-screen repaint draws for each screen state, on every back end.
#pragma once

#include "ports/drawing.h"

// Draws the whole current screen again; the back end has set up the screen and its offset.
void RepaintCurrentScreen(MenuButtonSet& buttons);
