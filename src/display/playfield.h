// playfield.h -- drawing of the play screen.
#pragma once

#include "common/result_codes.h"

// Composes the board and preview and puts them on the screen; 0 or the failed board blit's code.
ResultCode DrawPlayScreen();
