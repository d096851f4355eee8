// window.cpp -- the one window, "Quadrone": the game area shown in it 1:1, or in full screen on
// the desktop scaled by the largest whole factor that fits, centred on black, pixels kept sharp.
#include <algorithm>
#include <cstring>

#include "core/game/frame_state.h"
#include "core/log/debug_log.h"
#include "core/shell/shell.h"
#include "ports/platform.h"
#include "ports/sound.h"
#include "sdl/display/display.h"
#include "sdl/shell/shell.h"

SDL_Window* MainWindow = nullptr;

namespace {

SDL_Surface* WindowSurface = nullptr;
int32_t Scale = 1;
SDL_Point Origin = {0, 0};
// The window's surface is new or was shown something else: all of it is drawn again.
bool WholeWindowStale = true;

// Desktop full screen, but the window is also made to cover the display itself: an X server
// without a window manager would leave it where and as large as it was.
bool ApplyMode(bool fullScreen)
{
    if (!fullScreen) {
        const bool left = SDL_SetWindowFullscreen(MainWindow, 0) == 0;
        SDL_SetWindowBordered(MainWindow, SDL_TRUE);
        SDL_SetWindowSize(MainWindow, GameAreaWidth, GameAreaHeight);
        SDL_SetWindowPosition(MainWindow, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        return left;
    }
    SDL_Rect bounds = {0, 0, GameAreaWidth, GameAreaHeight};
    const int display = SDL_GetWindowDisplayIndex(MainWindow);
    SDL_GetDisplayBounds(display < 0 ? 0 : display, &bounds);
    SDL_SetWindowBordered(MainWindow, SDL_FALSE);
    SDL_SetWindowPosition(MainWindow, bounds.x, bounds.y);
    SDL_SetWindowSize(MainWindow, bounds.w, bounds.h);
    return SDL_SetWindowFullscreen(MainWindow, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
}

// Rounds towards minus infinity, so points left of or above the picture stay outside it.
int32_t FloorDivide(int32_t value, int32_t divisor)
{
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

Uint32* PixelRow(SDL_Surface* surface, int y)
{
    return reinterpret_cast<Uint32*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch);
}

// Narrows the area to the box around the pixels that differ from what the window shows; false when
// none do. In play the board is drawn every frame, and in most frames nothing on it moved. Only
// 1:1 and in one format, where the window holds the game area's own pixels.
bool NarrowToDifference(SDL_Rect& area)
{
    if (Scale != 1 || Screen->format->format != WindowSurface->format->format) {
        return true;
    }
    int top = area.y + area.h, bottom = area.y, left = area.x + area.w, right = area.x;
    for (int y = area.y; y < area.y + area.h; ++y) {
        const Uint32* drawn = PixelRow(Screen, y) + area.x;
        const Uint32* shown = PixelRow(WindowSurface, Origin.y + y) + Origin.x + area.x;
        if (std::memcmp(drawn, shown, static_cast<size_t>(area.w) * 4) == 0) {
            continue;
        }
        int first = 0;
        while (drawn[first] == shown[first]) {
            ++first;
        }
        int last = area.w - 1;
        while (drawn[last] == shown[last]) {
            --last;
        }
        top = std::min(top, y);
        bottom = y + 1;
        left = std::min(left, area.x + first);
        right = std::max(right, area.x + last + 1);
    }
    area = {left, top, right - left, bottom - top};
    return top < bottom;
}

}  // namespace

bool CreateMainWindow()
{
    // The software framebuffer instead of OpenGL: a tenth of the memory for the same picture.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    MainWindow =
        SDL_CreateWindow("Quadrone", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, GameAreaWidth, GameAreaHeight, 0);
    if (MainWindow != nullptr && FullScreen) {
        ApplyMode(true);
    }
    return MainWindow != nullptr;
}

bool LayOutWindow()
{
    WindowSurface = MainWindow != nullptr ? SDL_GetWindowSurface(MainWindow) : nullptr;
    if (WindowSurface == nullptr) {
        return false;
    }
    Scale = std::max(1, std::min(WindowSurface->w / GameAreaWidth, WindowSurface->h / GameAreaHeight));
    Origin = {(WindowSurface->w - GameAreaWidth * Scale) / 2, (WindowSurface->h - GameAreaHeight * Scale) / 2};
    WholeWindowStale = true;
    return true;
}

void PresentScreen()
{
    if (Screen == nullptr || (WindowSurface == nullptr && !LayOutWindow())) {
        return;
    }
    SDL_Rect area;
    const bool changed = TakeChangedArea(area);
    if (WholeWindowStale) {
        SDL_FillRect(WindowSurface, nullptr, 0);
        area = {0, 0, GameAreaWidth, GameAreaHeight};
    } else if (!changed || !NarrowToDifference(area)) {
        return;
    }
    SDL_Rect target = {Origin.x + area.x * Scale, Origin.y + area.y * Scale, area.w * Scale, area.h * Scale};
    if (Scale == 1) {
        SDL_BlitSurface(Screen, &area, WindowSurface, &target);
    } else {
        SDL_BlitScaled(Screen, &area, WindowSurface, &target);
    }
    UpdateWindowArea(WindowSurface, target, WholeWindowStale);
    WholeWindowStale = false;
}

ScreenPoint GameAreaPoint(int32_t x, int32_t y)
{
    return {FloorDivide(x - Origin.x, Scale), FloorDivide(y - Origin.y, Scale)};
}

uint32_t ReportedRefreshRate()
{
    SDL_DisplayMode mode = {};
    const int display = MainWindow != nullptr ? SDL_GetWindowDisplayIndex(MainWindow) : 0;
    if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) != 0 || mode.refresh_rate <= 0) {
        return 0;
    }
    return static_cast<uint32_t>(mode.refresh_rate);
}

// Nothing is lost in the switch, so unlike the Windows build nothing is loaded again; the music
// stops and starts around it the same way.
void SwitchDisplayMode()
{
    PauseMusic();
    MusicEnabled = false;
    if (ApplyMode(!FullScreen)) {
        FullScreen = !FullScreen;
    } else {
        WriteDebugLog("Display switch failed, returning to the previous mode");
        ApplyMode(FullScreen);
    }
    LayOutWindow();
    RefreshRateChanged();
    LastFrameTime = ClockNow();
    ResumeMusic();
    MusicEnabled = true;
    PostRepaint();
}
