// picture_set.h -- loading every picture from "graphics.vbf", and refilling them after a loss.
#pragma once

#include "common/result_codes.h"
#include "drawing/menu_button.h"

void LoadGraphics(MenuButtonSet& buttons);
ResultCode RestoreSurfaces(MenuButtonSet& buttons);
