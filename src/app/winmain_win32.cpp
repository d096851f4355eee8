// winmain_win32.cpp -- the entry point: start-up, the message loop, the end.
#include "app/shell_win32.h"
#include "audio/music_stream_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    int exitCode = 0;
    if (!StartUp(instance, commandLine, showCommand, exitCode)) {
        return exitCode;
    }
    const WPARAM quitCode = RunMessageLoop();
    GameMusic.Stop();
    GameMusic.Close();
    Shutdown();
    return static_cast<int>(quitCode);
}
