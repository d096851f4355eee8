// startup.cpp -- start-up in the Windows build's order and with its log lines, and the shutdown.
#include <cstdlib>
#include <cstring>

#include "core/game/frame.h"
#include "core/game/frame_state.h"
#include "core/game/high_scores.h"
#include "core/log/debug_log.h"
#include "core/shell/shell.h"
#include "ports/drawing.h"
#include "ports/message_box.h"
#include "sdl/audio/audio.h"
#include "sdl/display/display.h"
#include "sdl/files/folders.h"
#include "sdl/shell/shell.h"

namespace {

constexpr int ExitFailure = 1;
bool ShutDown = false;

// The game area and the window's surface; the Windows build's DirectDraw step, with its box.
// Its "Loading..." is left out: the font comes with the pictures, and they load in a blink.
bool StartDisplay()
{
    if (!CreateScreen() || !LayOutWindow()) {
        ShowMessageBox("DirectDraw init failed. The program will now exit. ", "Quadrone");
        return false;
    }
    ShowChangesNow = PresentScreen;
    PresentScreen();
    return true;
}

// The same progress lines as the Windows build, so one log reads the same on both. No sound
// device is no reason to stop here: the audio logs why and the game plays on silently.
void StartDevices()
{
    WriteDebugLog("DirectDraw initialized");
    WriteDebugLog("DirectInput initialized");
    if (StartAudio()) {
        WriteDebugLog("DirectSound initialized");
    }
}

// The loaders' boxes wait outside the event loop, and the window can be closed meanwhile: the
// table is read before them (that close saves it), and start-up stops at the next of these
// checks, as the Windows build's does. True when it stopped so.
bool ClosedDuringStartUp()
{
    SDL_PumpEvents();
    if (!SDL_HasEvent(SDL_QUIT)) {
        return false;
    }
    CloseGame();
    Shutdown();
    return true;
}

// The tick count, as on Windows. QUADRONE_SEED, for the tests alone, gives a fixed one, so that
// the browser's tetrads can be checked against the native build's.
uint32_t StartSeed()
{
    const char* seed = SDL_getenv("QUADRONE_SEED");
    return seed != nullptr ? static_cast<uint32_t>(std::strtoul(seed, nullptr, 10)) : SDL_GetTicks();
}

// False when a close during a box ended the program.
bool StartGame()
{
    LoadHighScores();
    LoadGraphics(MenuButtons);
    if (ClosedDuringStartUp()) {
        return false;
    }
    if (WindowIcon != nullptr) {
        SDL_SetWindowIcon(MainWindow, WindowIcon);
    }
    WriteDebugLog("Graphics loaded");
    LoadSounds();
    if (ClosedDuringStartUp()) {
        return false;
    }
    WriteDebugLog("Sounds loaded");
    StartGameState(StartSeed());
    if (MusicEnabled) {
        StartMusic();
        if (ClosedDuringStartUp()) {
            return false;
        }
    }
    DrawTitleScreen(MenuButtons);
    // Shown and raised, the window is active: no focus event may come without a window manager.
    GameActive = true;
    GameStarted = true;
    return true;
}

}  // namespace

bool IsFullScreenArguments(int argc, char** argv)
{
    return argc == 2 && (IsFullScreenCommandLine(argv[1]) || std::strcmp(argv[1], "--full") == 0);
}

bool StartUp(int argc, char** argv, int& exitCode)
{
    FullScreen = IsFullScreenArguments(argc, argv);
    ChooseFolders();
    ClearDebugLog();
    WriteDebugLog("-----------------");
    WriteDebugLog("Initializing...");
    ShutDown = false;
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || !CreateMainWindow()) {
        WriteDebugLog("Error initializing window");
        SDL_Quit();
        exitCode = ExitFailure;
        return false;
    }
    WriteDebugLog("Window Created");
    if (!StartDisplay()) {
        Shutdown();
        exitCode = ExitFailure;
        return false;
    }
    StartDevices();
    exitCode = 0;
    return StartGame();
}

void Shutdown()
{
    if (ShutDown) {
        return;
    }
    StopAudio();
    ReleaseDisplay(MenuButtons);
    if (MainWindow != nullptr) {
        SDL_DestroyWindow(MainWindow);
        MainWindow = nullptr;
    }
    SDL_Quit();
    ShutDown = true;
}
