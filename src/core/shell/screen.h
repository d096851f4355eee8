// screen.h -- where the 640 x 480 game area lies on the primary surface.
#pragma once

#include <cstdint>

constexpr int32_t GameAreaWidth = 640;
constexpr int32_t GameAreaHeight = 480;

struct ScreenPoint {
    int32_t x;
    int32_t y;
};

struct WindowBounds {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct FrameMetrics {
    int32_t frameWidth;     // SM_CXFRAME
    int32_t frameHeight;    // SM_CYFRAME
    int32_t captionHeight;  // SM_CYCAPTION
};

extern bool FullScreen;
extern ScreenPoint ScreenOffset;      // game area's top-left corner on the primary surface
extern WindowBounds WindowRectangle;  // last GetWindowRect of the main window
extern FrameMetrics WindowFrame;

// The client origin of the captioned window, or (0, 0) in full screen, from the stored values.
ScreenPoint ComputeScreenOffset();
