// menu_button.h -- one title-screen button: three pictures, where it sits, and its state.
#pragma once

#include <array>
#include <cstdint>

struct IDirectDrawSurface7;

constexpr int32_t ButtonNormal = 0;
constexpr int32_t ButtonHover = 1;
constexpr int32_t ButtonPressed = 2;
constexpr int MenuButtonCount = 3;
constexpr int MenuButtonNameSize = 260;

struct MenuButton {
    IDirectDrawSurface7* image[3];            // normal, hover, pressed
    char name[3][MenuButtonNameSize];         // archive entries, kept for the restore
    int32_t x;
    int32_t y;
    int32_t width;                            // of the normal picture
    int32_t height;
    int32_t state;
};

// Play, Scores, Quit, in this order. The shell owns them; the frame and the display get them by reference.
using MenuButtonSet = std::array<MenuButton, MenuButtonCount>;
