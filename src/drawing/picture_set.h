// picture_set.h -- loading every picture from "graphics.vbf", and refilling them after a loss.
#pragma once

#include "common/result_codes.h"

void LoadGraphics();
ResultCode RestoreSurfaces();
