// event_loop.cpp -- the loop that handles the window's events and runs the frames, one per
// refresh of the display, and what each event means.
#include "core/game/frame.h"
#include "core/game/frame_state.h"
#include "core/game/high_scores.h"
#include "core/log/debug_log.h"
#include "core/shell/frame_pacing.h"
#include "core/shell/repaint.h"
#include "core/shell/shell.h"
#include "ports/platform.h"
#include "ports/sound.h"
#include "sdl/display/display.h"
#include "sdl/input/key_map.h"
#include "sdl/shell/shell.h"

MenuButtonSet MenuButtons;

namespace {

// What the game posts to itself, as the Windows build posts WM_PAINT and WM_CLOSE.
constexpr Uint32 RepaintEvent = SDL_USEREVENT;
constexpr Uint32 CloseEvent = SDL_USEREVENT + 1;

FramePacer Pacer = StartPacing(FallbackRefreshHz, 0);
bool Closed = false;

void Post(Uint32 type)
{
    SDL_Event event = {};
    event.type = type;
    SDL_PushEvent(&event);
}

void RepaintScreen()
{
    ForgetShownButtons();
    if (Screen != nullptr) {
        RepaintCurrentScreen(MenuButtons);
    }
    LastFrameTime = ClockNow();
}

void OnWindowEvent(const SDL_WindowEvent& window)
{
    switch (window.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        GameActive = true;
        if (MusicEnabled) {
            ResumeMusic();
        }
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        GameActive = false;
        PauseMusic();
        break;
    case SDL_WINDOWEVENT_MINIMIZED: GameActive = false; break;
    case SDL_WINDOWEVENT_RESTORED: GameActive = true; break;
    case SDL_WINDOWEVENT_SIZE_CHANGED: LayOutWindow(); break;
    case SDL_WINDOWEVENT_EXPOSED: LayOutWindow(); break;
    case SDL_WINDOWEVENT_DISPLAY_CHANGED: RefreshRateChanged(); break;
    case SDL_WINDOWEVENT_CLOSE: CloseGame(); break;
    default: break;
    }
}

void OnKeyDown(const SDL_Keysym& key)
{
    const bool alt = (key.mod & KMOD_ALT) != 0;
    if (alt && key.scancode == SDL_SCANCODE_F4) {
        CloseGame();
        return;
    }
    // On Windows these are the system's keys, which never reach the game.
    if (alt || key.scancode == SDL_SCANCODE_F10) {
        return;
    }
    const uint8_t virtualKey = VirtualKey(key.scancode, key.sym);
    if (virtualKey != 0) {
        HandleKeyDown(virtualKey);
    }
}

void HandleEvent(const SDL_Event& event)
{
    if (event.type == RepaintEvent) {
        RepaintScreen();
    } else if (event.type == CloseEvent || event.type == SDL_QUIT) {
        CloseGame();
    } else if (event.type == SDL_WINDOWEVENT) {
        OnWindowEvent(event.window);
    } else if (event.type == SDL_KEYDOWN) {
        OnKeyDown(event.key.keysym);
    } else if (event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_LEFT) {
        NoteLeftButtonPress();
    } else if (event.type == SDL_MOUSEBUTTONUP && event.button.button == SDL_BUTTON_LEFT) {
        HandleLeftButtonUp();
    }
}

void HandleWaitingEvents()
{
    SDL_Event event;
    while (!Closed && SDL_PollEvent(&event)) {
        HandleEvent(event);
    }
}

void RunFrame()
{
    const ResultCode frame = UpdateFrame(MenuButtons);
    ForgetLeftButtonPress();
    if (frame < 0) {
        WriteDebugLog("Displaying the next frame failed, exiting...");
        GameActive = false;
    }
}

}  // namespace

void CloseGame()
{
    if (Closed) {
        return;
    }
    SaveHighScores();
    PauseMusic();
    MusicEnabled = false;
    Closed = true;
}

void PostRepaint()
{
    Post(RepaintEvent);
}

void PostClose()
{
    Post(CloseEvent);
}

void ForgetShownButtons()
{
    for (MenuButton& button : MenuButtons) {
        button.shown = ButtonPictureUnknown;
    }
}

void RefreshRateChanged()
{
    ChangeRefreshRate(Pacer, ReportedRefreshRate(), ClockNow());
}

// Events are handled the moment they arrive and what they drew is shown; while the window is
// active a frame runs once per refresh and the loop sleeps in between; an inactive window sleeps
// until the next event.
void RunEventLoop()
{
    Pacer = StartPacing(ReportedRefreshRate(), ClockNow());
    for (;;) {
        HandleWaitingEvents();
        if (Closed) {
            return;
        }
        PresentScreen();
        if (!GameActive) {
            SDL_WaitEvent(nullptr);
            LastFrameTime = ClockNow();
            continue;
        }
        const uint32_t wait = MillisecondsUntilFrame(Pacer, ClockNow());
        if (wait > 0 && SDL_WaitEventTimeout(nullptr, static_cast<int>(wait)) != 0) {
            continue;
        }
        const uint32_t now = ClockNow();
        if (MillisecondsUntilFrame(Pacer, now) > 0) {
            continue;
        }
        FrameRuns(Pacer, now);
        RunFrame();
    }
}

// The browser calls this once per frame, on its timer: the pacing is its.
// What a frame drew is shown before the browser composes the page.
bool RunLoopPass()
{
    HandleWaitingEvents();
    if (Closed) {
        return false;
    }
    if (GameActive) {
        RunFrame();
    } else {
        LastFrameTime = ClockNow();
    }
    PresentScreen();
    return true;
}
