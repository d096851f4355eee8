// end_thread.cpp -- stopping a thread that runs a message loop.
#include "win32/shell/end_thread.h"

// A thread that has not made its message queue yet refuses the post, and would never see the quit
// message: post until it takes it or the thread is gone.
void EndThread(HANDLE thread, DWORD threadId)
{
    while (!PostThreadMessageA(threadId, WM_QUIT, 0, 0)) {
        if (WaitForSingleObject(thread, 10) == WAIT_OBJECT_0) {
            return;
        }
    }
    WaitForSingleObject(thread, INFINITE);
}
