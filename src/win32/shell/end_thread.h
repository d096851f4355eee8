// end_thread.h -- stopping a thread that runs a message loop, for the shell and the music.
#pragma once

#include <windows.h>

// Posts WM_QUIT and waits until the thread has ended; the caller closes the handle.
void EndThread(HANDLE thread, DWORD threadId);
