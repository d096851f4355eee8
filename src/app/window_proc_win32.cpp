// window_proc_win32.cpp -- the window procedure: one small handler per message.
#include "app/shell.h"
#include "app/shell_win32.h"
#include "audio/music_stream_win32.h"
#include "game/frame_state.h"
#include "game/high_scores.h"
#include "log/debug_log.h"
#include "platform/main_window_win32.h"

void RepaintScreen();   // repaint_win32.cpp

MenuButtonSet MenuButtons;

namespace {

LRESULT OnDestroy()
{
    MusicEnabled = false;
    GameMusic.Stop();
    GameMusic.Close();
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
    case WM_DESTROY:
        return OnDestroy();
    case WM_MOVE:
        ReadFrameMetrics();
        UpdateScreenOffset();
        break;
    case WM_SIZE:
        GameActive = wParam != SIZE_MINIMIZED && wParam != SIZE_MAXHIDE;
        break;
    case WM_ACTIVATE:
        OnActivate(wParam);
        break;
    case WM_PAINT:
        RepaintScreen();
        break;
    case WM_CLOSE:
        OnClose();
        break;
    case WM_KEYDOWN:
        HandleKeyDown(static_cast<uint32_t>(wParam));
        return 0;
    case WM_SYSCOMMAND:
        if (IsSwallowedCommand(wParam)) {
            return 1;
        }
        break;
    case WM_LBUTTONUP:
        HandleLeftButtonUp();
        break;
    case WM_EXITMENULOOP:
        LastFrameTime = timeGetTime();
        break;
    case WM_EXITSIZEMOVE:
        if (GameState == StatePlaying) {
            PostMessageA(window, WM_PAINT, 0, 0);
        }
        LastFrameTime = timeGetTime();
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
