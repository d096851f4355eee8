// message_loop.cpp -- the loop that handles the window's messages and runs the frames,
// one per refresh of the display.
#include "core/game/frame.h"
#include "core/game/frame_state.h"
#include "core/log/debug_log.h"
#include "core/shell/frame_pacing.h"
#include "win32/shell/shell.h"

namespace {

// What the display reports; 0 or 1 when it does not know.
uint32_t ReportedRefreshRate()
{
    HDC screen = GetDC(nullptr);
    const int hz = GetDeviceCaps(screen, VREFRESH);
    ReleaseDC(nullptr, screen);
    return hz > 0 ? static_cast<uint32_t>(hz) : 0;
}

FramePacer Pacer = StartPacing(FallbackRefreshHz, 0);

}  // namespace

RefreshRateReader ReadRefreshRate = ReportedRefreshRate;

void RefreshRateChanged()
{
    ChangeRefreshRate(Pacer, ReadRefreshRate(), timeGetTime());
}

uint32_t PacedRefreshRate()
{
    return Pacer.refreshHz;
}

// Messages are handled the moment they arrive. While the window is active, a frame runs once per
// refresh and the loop waits for the next one or for a message in between; running frames back
// to back kept a core busy for a screen that changes a few cells a second. Every look at the
// queue is a call into the window system, so an active loop looks only when its wait ended for a
// message. An inactive window sleeps until the next message.
WPARAM RunMessageLoop()
{
    // Waits end within a millisecond of their time only at this timer resolution.
    timeBeginPeriod(1);
    Pacer = StartPacing(ReadRefreshRate(), timeGetTime());
    MSG message = {};
    bool messageCame = true;
    for (;;) {
        if ((messageCame || !GameActive) && PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
                break;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
            continue;
        }
        if (!GameActive) {
            WaitMessage();
            LastFrameTime = timeGetTime();
            continue;
        }
        // Ends at once when a message waits, even one already looked at.
        const uint32_t wait = MillisecondsUntilFrame(Pacer, timeGetTime());
        messageCame = MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE) != WAIT_TIMEOUT;
        const uint32_t now = timeGetTime();
        if (messageCame || MillisecondsUntilFrame(Pacer, now) > 0) {
            continue;
        }
        FrameRuns(Pacer, now);
        if (UpdateFrame(MenuButtons) < 0) {
            WriteDebugLog("Displaying the next frame failed, exiting...");
            GameActive = false;
        }
    }
    timeEndPeriod(1);
    return message.wParam;
}
