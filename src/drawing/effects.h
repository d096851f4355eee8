// effects.h -- the spark run over a removed row and the static interference.
#pragma once

#include <cstdint>

#include "common/result_codes.h"

// Plays the zap and runs a spark along the row on the screen; returns after about 200 ms.
void DrawSparks(int32_t row);

// Noise over the next-piece box (screen 1) and/or the counter panel (screen 3).
ResultCode DrawStatic(bool screen1, bool screen3);
