// music.h -- what game code may do to the background music.
#pragma once

#include <cstdint>

// Hundredths of a decibel (0 full, -500 during play); nothing happens without a music buffer.
void SetMusicVolume(int32_t volume);
