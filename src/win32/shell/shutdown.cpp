// shutdown.cpp -- the idle notification thread, and taking everything down once, in order.
#include <objbase.h>

#include "win32/audio/effects.h"
#include "win32/audio/music_stream.h"
#include "win32/audio/sound_manager.h"
#include "win32/display/display.h"
#include "win32/input/keyboard.h"
#include "win32/shell/end_thread.h"
#include "win32/shell/main_window.h"
#include "win32/shell/shell.h"

namespace {
HANDLE NotificationThread = nullptr;
DWORD NotificationThreadId = 0;
bool ShutDown = false;
}  // namespace

void StartNotificationThread()
{
    NotificationEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    NotificationThread = CreateThread(nullptr, 0, NotificationThreadProc, MainWindow, 0, &NotificationThreadId);
}

void InitCom()
{
    CoInitialize(nullptr);
    ShutDown = false;
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
    // The music thread goes first: it is the one thread still writing to a sound buffer.
    GameMusic.Stop();
    GameMusic.Close();
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
