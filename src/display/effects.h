// effects.h -- the spark run over a removed row and the static interference.
#pragma once

#include <cstdint>

// Plays the zap and runs a spark along the row on the screen; returns after about 200 ms.
void DrawSparks(int32_t row);
