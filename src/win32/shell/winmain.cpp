// winmain.cpp -- the entry point: start-up, the message loop, the end.
#include "win32/shell/shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    int exitCode = 0;
    if (!StartUp(instance, commandLine, showCommand, exitCode)) {
        return exitCode;
    }
    const WPARAM quitCode = RunMessageLoop();
    Shutdown();
    return static_cast<int>(quitCode);
}
