// main.cpp -- the entry point: start-up, the event loop, the end.
#include "sdl/shell/shell.h"

int main(int argc, char** argv)
{
    int exitCode = 0;
    if (!StartUp(argc, argv, exitCode)) {
        return exitCode;
    }
    RunEventLoop();
    Shutdown();
    return 0;
}
