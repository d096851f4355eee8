// startup.cpp -- start-up in a fixed order, from the command line to the title screen.
#include "core/game/frame.h"
#include "core/game/frame_state.h"
#include "core/game/high_scores.h"
#include "core/log/debug_log.h"
#include "core/shell/shell.h"
#include "ports/drawing.h"
#include "win32/audio/effects.h"
#include "win32/audio/music_stream.h"
#include "win32/audio/sound_manager.h"
#include "win32/display/display.h"
#include "win32/input/keyboard.h"
#include "win32/shell/main_window.h"
#include "win32/shell/owned_message_box.h"
#include "win32/shell/shell.h"

namespace {

// The device steps whose failure ends the program, after the window exists.
HRESULT StartDevices(HINSTANCE instance, HWND window)
{
    if (InitDirectDraw(window) < 0) {
        OwnedMessageBox(window, "DirectDraw init failed. The program will now exit. ", "Quadrone", MB_ICONERROR);
        Shutdown();
        return E_FAIL;
    }
    WriteDebugLog("DirectDraw initialized");
    if (InitDirectInput(instance) < 0) {
        Shutdown();
        OwnedMessageBox(window, "Failed to initialize DirectInput", "Error", MB_OK);
        return E_FAIL;
    }
    WriteDebugLog("DirectInput initialized");
    GameSoundManager = new SoundManager();
    if (GameSoundManager->Init(window, DSSCL_PRIORITY, 2, 44100, 16) < 0) {
        Shutdown();
        OwnedMessageBox(window, "Error initializing DirectSound", "Error", MB_OK);
        return S_FALSE;  // this failure ends the program with exit code 0
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
    StartGameState(GetTickCount());
    StartNotificationThread();
    if (MusicEnabled && !StartMusic()) {
        return false;
    }
    DrawTitleScreen(MenuButtons);
    GameStarted = true;
    return true;
}

}  // namespace

bool StartUp(HINSTANCE instance, const char* commandLine, int showCommand, int& exitCode)
{
    FullScreen = IsFullScreenCommandLine(commandLine);
    ClearDebugLog();
    WriteDebugLog("-----------------");
    WriteDebugLog("Initializing...");
    InitCom();

    HWND window = nullptr;
    if (FAILED(InitWindow(instance, showCommand, &window))) {
        WriteDebugLog("Error initializing window");
        exitCode = E_FAIL;
        return false;
    }
    WriteDebugLog("Window Created");
    const HRESULT devices = StartDevices(instance, window);
    if (devices != S_OK) {
        exitCode = devices == S_FALSE ? 0 : E_FAIL;
        return false;
    }
    // A close while loading has ended it all through the window's own close and destroy.
    exitCode = 0;
    return StartGame();
}
