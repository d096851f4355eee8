// winmain_win32.cpp -- the entry point: start-up in a fixed order, the message loop, the end.
#include <objbase.h>

#include "app/shell.h"
#include "app/shell_win32.h"
#include "audio/effects_win32.h"
#include "audio/music_stream_win32.h"
#include "audio/sound_manager_win32.h"
#include "common/random.h"
#include "display/display_win32.h"
#include "drawing/picture_set.h"
#include "drawing/text_screens.h"
#include "game/board.h"
#include "game/frame.h"
#include "game/frame_state.h"
#include "game/high_scores.h"
#include "game/keyboard_win32.h"
#include "log/debug_log.h"
#include "platform/main_window_win32.h"

namespace {

// The device steps whose failure ends the program, after the window exists.
HRESULT StartDevices(HINSTANCE instance, HWND window)
{
    if (InitDirectDraw(window) < 0) {
        MessageBoxA(window, "DirectDraw init failed. The program will now exit. ", "Quadrone", MB_ICONERROR);
        Shutdown();
        return E_FAIL;
    }
    WriteDebugLog("DirectDraw initialized");
    if (InitDirectInput(instance) < 0) {
        Shutdown();
        MessageBoxA(window, "Failed to initialize DirectInput", "Error", MB_OK);
        return E_FAIL;
    }
    WriteDebugLog("DirectInput initialized");
    GameSoundManager = new SoundManager();
    if (GameSoundManager->Init(window, DSSCL_PRIORITY, 2, 44100, 16) < 0) {
        Shutdown();
        MessageBoxA(window, "Error initializing DirectSound", "Error", MB_OK);
        return S_FALSE;   // this failure ends the program with exit code 0
    }
    WriteDebugLog("DirectSound initialized");
    return S_OK;
}

// The loaders' boxes have no owner, so the window can be closed while one waits: the table is
// read before them (that close saves it), and start-up stops once the close has shut everything
// down. False when it stopped so.
bool LoadGameData()
{
    LoadHighScores();
    LoadGraphics(MenuButtons);
    if (HasShutDown()) {
        return false;
    }
    WriteDebugLog("Graphics loaded");
    LoadSounds();
    if (HasShutDown()) {
        return false;
    }
    WriteDebugLog("Sounds loaded");
    return true;
}

// The music's own boxes may come up here too; false when a close during one ended the program.
bool StartMusic()
{
    GameMusic.Init(MainWindow, GameSoundManager->device, MusicThreadProc);
    OpenMusic();
    if (HasShutDown()) {
        return false;
    }
    PlayMusic();
    return !HasShutDown();
}

bool StartGame()
{
    if (!LoadGameData()) {
        return false;
    }
    GameState = StateTitleMenu;
    LastFrameTime = timeGetTime();
    SeedRandom(GetTickCount());
    ClearBoard();
    InitTetradTable();
    SetCurrentTetrad(Random() % TetradKindCount);
    NextKind = Random() % TetradKindCount;
    SetNextTetrad(NextKind);
    WriteDebugLog("Starting game...");
    StartNotificationThread();
    if (MusicEnabled && !StartMusic()) {
        return false;
    }
    DrawTitleScreen(MenuButtons);
    GameStarted = true;
    return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    FullScreen = IsFullScreenCommandLine(commandLine);
    ClearDebugLog();
    WriteDebugLog("-----------------");
    WriteDebugLog("Initializing...");
    CoInitialize(nullptr);

    HWND window = nullptr;
    if (FAILED(InitWindow(instance, showCommand, &window))) {
        WriteDebugLog("Error initializing window");
        return E_FAIL;
    }
    WriteDebugLog("Window Created");
    const HRESULT devices = StartDevices(instance, window);
    if (devices != S_OK) {
        return devices == S_FALSE ? 0 : E_FAIL;
    }
    if (!StartGame()) {
        return 0;   // closed while loading: the window's own close and destroy have ended it all
    }
    const WPARAM exitCode = RunMessageLoop();
    GameMusic.Stop();
    GameMusic.Close();
    Shutdown();
    return static_cast<int>(exitCode);
}
