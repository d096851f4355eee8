// shell.cpp -- what the window's keys and clicks mean; the platform side only dispatches.
#include "core/shell/shell.h"

#include <cctype>

#include "core/game/frame_state.h"
#include "core/game/high_scores.h"
#include "ports/drawing.h"
#include "ports/platform.h"
#include "ports/sound.h"

bool MusicEnabled = true;
bool GameStarted = false;

namespace {

void LeaveToTitleMenu()
{
    if (GameState == StatePaused) {
        GameState = PausedState;
    } else if (GameState != StateTitleMenu) {
        if (SoundIsPlaying(Static2Sound)) {
            StopSound(Static2Sound);
        }
        SetMusicVolume(0);
        GameState = StateTitleMenu;
    }
    PostRepaint();
}

void ToggleMusic()
{
    MusicEnabled = !MusicEnabled;
    if (MusicEnabled) {
        ResumeMusic();
    } else {
        PauseMusic();
    }
}

void Pause()
{
    if (GameState == StatePaused) {
        return;
    }
    PausedState = GameState;
    GameState = StatePaused;
    DrawControlsScreen();
}

}  // namespace

bool IsFullScreenCommandLine(const char* commandLine)
{
    const char* expected = "/full";
    for (; *expected != '\0'; ++expected, ++commandLine) {
        if (std::tolower(static_cast<unsigned char>(*commandLine)) != *expected) {
            return false;
        }
    }
    return *commandLine == '\0';
}

WindowSize WindowSizeFor(bool fullScreen, const FrameMetrics& frame)
{
    if (fullScreen) {
        return {GameAreaWidth, GameAreaHeight};
    }
    return {GameAreaWidth + 2 * frame.frameWidth, GameAreaHeight + 2 * frame.frameHeight + frame.captionHeight};
}

void HandleKeyDown(uint32_t key)
{
    // A loader's box lets keys through: F6 would load the pictures again inside the loading.
    if (!GameStarted) {
        return;
    }
    if (InitialsActive) {
        TypeInitial(key);
        return;
    }
    switch (key) {
    case KeyEscape:
    case KeyQ:
    case KeyF2: LeaveToTitleMenu(); break;
    case KeyM: ToggleMusic(); break;
    case KeyF1: Pause(); break;
    case KeyF6: SwitchDisplayMode(); break;
    default: break;
    }
}

void HandleLeftButtonUp()
{
    if (GameState == StatePaused) {
        GameState = PausedState;
        PostRepaint();
    }
}
