// web.cpp -- the browser's entry point: the same start-up, then one pass of the loop per animation
// frame, since a page's script may never block. The data file is loaded before main runs.
#include <emscripten.h>

#include <cstdio>

#include "ports/message_box.h"
#include "sdl/audio/audio.h"
#include "sdl/shell/shell.h"

namespace {

void RunAnimationFrame()
{
    FeedMusic();
    if (!RunLoopPass()) {
        emscripten_cancel_main_loop();
        Shutdown();
    }
}

}  // namespace

// A stand-in until the page has a dialog of its own: SDL's box cannot block a page, so the box
// goes to the browser's console and the game carries on.
void ShowMessageBox(const char* text, const char* caption)
{
    std::fprintf(stderr, "Message box \"%s\": %s\n", caption, text);
}

int main(int argc, char** argv)
{
    int exitCode = 0;
    if (!StartUp(argc, argv, exitCode)) {
        return exitCode;
    }
    // The browser's own rate; main never returns, so what start-up made stays.
    emscripten_set_main_loop(RunAnimationFrame, 0, 1);
    return 0;
}
