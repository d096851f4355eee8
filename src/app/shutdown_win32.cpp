// shutdown_win32.cpp -- the idle notification thread, and taking everything down once, in order.
#include <objbase.h>

#include "app/shell_win32.h"
#include "audio/effects_win32.h"
#include "audio/music_stream_win32.h"
#include "audio/sound_manager_win32.h"
#include "common/end_thread_win32.h"
#include "display/display_win32.h"
#include "game/keyboard_win32.h"
#include "platform/main_window_win32.h"

namespace {
HANDLE NotificationThread = nullptr;
DWORD NotificationThreadId = 0;
bool ShutDown = false;
}  // namespace

void StartNotificationThread()
{
    NotificationEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    NotificationThread =
        CreateThread(nullptr, 0, NotificationThreadProc, MainWindow, 0, &NotificationThreadId);
}

bool HasShutDown()
{
    return ShutDown;
}

void Shutdown()
{
    if (ShutDown) {
        return;
    }
    ShutdownDisplay(MenuButtons);
    ReleaseKeyboard();
    if (NotificationThread != nullptr) {
        EndThread(NotificationThread, NotificationThreadId);
        CloseHandle(NotificationThread);
        NotificationThread = nullptr;
    }
    if (NotificationEvent != nullptr) {
        CloseHandle(NotificationEvent);
        NotificationEvent = nullptr;
    }
    DeleteEffects();
    delete GameSoundManager;
    GameSoundManager = nullptr;
    CoUninitialize();
    ShutDown = true;
}
