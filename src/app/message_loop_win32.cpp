// message_loop_win32.cpp -- the loop that handles the window's messages and runs the frames.
#include "app/shell_win32.h"
#include "game/frame.h"
#include "game/frame_state.h"
#include "log/debug_log.h"

// Frames run whenever no message waits and the window is active; otherwise the loop sleeps.
WPARAM RunMessageLoop()
{
    MSG message = {};
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
                return message.wParam;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else if (!GameActive) {
            WaitMessage();
            LastFrameTime = timeGetTime();
        } else if (UpdateFrame() < 0) {
            WriteDebugLog("Displaying the next frame failed, exiting...");
            GameActive = false;
        }
    }
}
