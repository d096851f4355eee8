// display_switch.cpp -- F6: rebuilding the display in the other mode.
#include "core/game/frame_state.h"
#include "core/log/debug_log.h"
#include "core/shell/shell.h"
#include "ports/drawing.h"
#include "ports/platform.h"
#include "win32/audio/music_stream.h"
#include "win32/display/display.h"
#include "win32/shell/main_window.h"
#include "win32/shell/owned_message_box.h"
#include "win32/shell/shell.h"

namespace {

// Both masks clear the caption, system menu, sizing frame and minimise and maximise boxes; the
// windowed one also clears WS_POPUP.
void ApplyMode(bool fullScreen)
{
    FullScreen = fullScreen;
    const WindowSize size = WindowSizeFor(fullScreen, WindowFrame);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(MainWindow, GWL_STYLE));
    const DWORD newStyle = fullScreen ? (style & 0xFF30FFFFu) | 0x80000000u : (style & 0x7F30FFFFu) | 0x00CA0000u;
    SetWindowLongA(MainWindow, GWL_STYLE, static_cast<LONG>(newStyle));
    SetWindowPos(MainWindow, HWND_TOP, 50, 50, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateScreenOffset();
}

// The mode asked for could not be set up: go back to the one that worked, or end the game
// the way a failed start does.
void ReturnToPreviousMode()
{
    WriteDebugLog("Display switch failed, returning to the previous mode");
    ReleaseDisplay(MenuButtons);
    ApplyMode(!FullScreen);
    if (InitDirectDraw(MainWindow) < 0) {
        OwnedMessageBox(MainWindow, "DirectDraw init failed. The program will now exit. ", "Quadrone", MB_ICONERROR);
        PostMessageA(MainWindow, WM_CLOSE, 0, 0);
    }
}

}  // namespace

void SwitchDisplayMode()
{
    ShowCursor(FALSE);
    GameMusic.Stop();
    MusicEnabled = false;
    ReleaseDisplay(MenuButtons);
    ApplyMode(!FullScreen);
    if (InitDirectDraw(MainWindow) < 0) {
        ReturnToPreviousMode();
    }
    LoadGraphics(MenuButtons);
    RefreshRateChanged();
    LastFrameTime = timeGetTime();
    GameMusic.Play();
    MusicEnabled = true;
    ShowCursor(TRUE);
    // Nothing else redraws the background on the new surfaces.
    PostRepaint();
}
