// window_proc.cpp -- the window procedure: one small handler per message.
#include "core/game/frame_state.h"
#include "core/game/high_scores.h"
#include "core/log/debug_log.h"
#include "core/shell/shell.h"
#include "win32/audio/music_stream.h"
#include "win32/shell/main_window.h"
#include "win32/shell/shell.h"

void RepaintScreen();  // repaint.cpp

MenuButtonSet MenuButtons;

void ForgetShownButtons()
{
    for (MenuButton& button : MenuButtons) {
        button.shown = ButtonPictureUnknown;
    }
}

namespace {

LRESULT OnDestroy()
{
    MusicEnabled = false;
    Shutdown();
    PostQuitMessage(0);
    return 0;
}

void OnActivate(WPARAM wParam)
{
    if (LOWORD(wParam) != WA_INACTIVE) {
        GameActive = true;
        if (MusicEnabled) {
            GameMusic.Play();
        }
    } else {
        GameActive = false;
        GameMusic.Stop();
    }
}

void OnClose()
{
    SaveHighScores();
    GameMusic.Stop();
    MusicEnabled = false;
}

// Keyboard moves and sizing from the system menu are swallowed; a caption drag (SC_MOVE with
// a hit-test code in the low bits) is not.
bool IsSwallowedCommand(WPARAM command)
{
    return command == SC_SIZE || command == SC_MOVE || command == SC_MAXIMIZE || command == SC_MONITORPOWER;
}

}  // namespace

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY: return OnDestroy();
    case WM_MOVE:
        ReadFrameMetrics();
        UpdateScreenOffset();
        break;
    case WM_SIZE: GameActive = wParam != SIZE_MINIMIZED && wParam != SIZE_MAXHIDE; break;
    case WM_ACTIVATE: OnActivate(wParam); break;
    case WM_PAINT: RepaintScreen(); break;
    case WM_CLOSE: OnClose(); break;
    case WM_KEYDOWN: HandleKeyDown(static_cast<uint32_t>(wParam)); return 0;
    case WM_SYSCOMMAND:
        if (IsSwallowedCommand(wParam)) {
            return 1;
        }
        break;
    case WM_LBUTTONUP: HandleLeftButtonUp(); break;
    case WM_DISPLAYCHANGE:
        RefreshRateChanged();
        ForgetShownButtons();
        break;
    case WM_EXITMENULOOP: LastFrameTime = timeGetTime(); break;
    case WM_EXITSIZEMOVE:
        if (GameState == StatePlaying) {
            PostMessageA(window, WM_PAINT, 0, 0);
        }
        LastFrameTime = timeGetTime();
        break;
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
