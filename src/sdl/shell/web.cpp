// web.cpp -- the browser's entry point: the same start-up, then one pass of the loop per frame of
// the page, since a page's script may never block. The data file is loaded before main runs, the save
// folder from the page's storage before start-up. Boxes, the end and full screen are the page's.
#include <emscripten.h>

#include <cstdio>
#include <cstring>

#include "core/game/high_scores.h"
#include "core/log/debug_log.h"
#include "ports/message_box.h"
#include "sdl/audio/audio.h"
#include "sdl/files/folders.h"
#include "sdl/files/save_folder_web.h"
#include "sdl/shell/shell.h"

namespace {

constexpr int FramesPerSecond = 60;
int Arguments = 0;
char** ArgumentValues = nullptr;
// A tab closes without a word to the page, so the table is saved as soon as a game enters it,
// where the desktop saves it at the close.
HighScoreEntry SavedTable[HighScoreRows];

// What web/index.html provides: its dialog, which queues the boxes and holds the game while one
// shows, and its notices of the start and the end.
// clang-format off
EM_JS(void, ShowBoxInPage, (const char* caption, const char* text), {
    Module.showBox(UTF8ToString(caption), UTF8ToString(text));
});

EM_JS(int, BoxInPageShown, (), {
    return Module.boxShown() ? 1 : 0;
});

EM_JS(void, TellPageStarted, (), {
    Module.gameStarted();
});

// Once the files are in storage, since the player is told to reload.
EM_JS(void, TellPageEnded, (), {
    (Module.saved || Promise.resolve()).then(function () {
        Module.gameEnded();
    });
});
// clang-format on

void EchoToConsole(const char* text)
{
    std::puts(text);
}

void SaveTableWhenChanged()
{
    if (std::memcmp(SavedTable, HighScoreTable, sizeof SavedTable) != 0) {
        SaveHighScores();
        std::memcpy(SavedTable, HighScoreTable, sizeof SavedTable);
    }
}

void End()
{
    Shutdown();
    KeepSaveFolder();
    TellPageEnded();
}

// A box holds the frames, as a modal box holds the desktop's loop; the music plays on from its ring
// as it does there from its thread.
void RunPageFrame()
{
    FeedMusic();
    FeedAudioDevice();
    if (BoxInPageShown()) {
        return;
    }
    if (!RunLoopPass()) {
        emscripten_cancel_main_loop();
        End();
        return;
    }
    SaveTableWhenChanged();
}

void StartGame()
{
    int exitCode = 0;
    const bool started = StartUp(Arguments, ArgumentValues, exitCode);
    // The log of start-up, kept whatever came of it.
    KeepSaveFolder();
    if (!started) {
        End();
        return;
    }
    std::memcpy(SavedTable, HighScoreTable, sizeof SavedTable);
    // A timer at 60 frames a second rather than the browser's animation frames, which keep it
    // composing the page at the display's rate: in headless Chromium that took play from 14.8 % of
    // a core to 19.0 %, with animation frames only while the picture moved 16.6 %. Not from main, so
    // nothing is left to unwind.
    emscripten_set_main_loop(RunPageFrame, FramesPerSecond, 0);
    TellPageStarted();
}

}  // namespace

// The page shows the box and queues any that come while one shows; the code after a box runs
// before the player has read it, which changes nothing, since every box start-up and the music
// show is a notice after which the desktop's game goes on too.
void ShowMessageBox(const char* text, const char* caption)
{
    std::printf("Message box \"%s\": %s\n", caption, text);
    ShowBoxInPage(caption, text);
    // What led to it is in the log.
    KeepSaveFolder();
}

int main(int argc, char** argv)
{
    Arguments = argc;
    ArgumentValues = argv;
    EchoDebugLogLine = EchoToConsole;
    // main returns at once; the runtime stays for the loop and the callbacks.
    LoadSaveFolder(StartGame);
    return 0;
}
