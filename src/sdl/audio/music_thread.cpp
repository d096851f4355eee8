// music_thread.cpp -- the desktop's music feed: a thread that sleeps until the device has taken a
// chunk, then decodes the lead again, so decoding never holds up the sound or the frames.
#include <SDL.h>

#include <atomic>

#include "ports/message_box.h"
#include "sdl/audio/music_feed.h"

namespace {

SDL_sem* Wake = nullptr;
SDL_Thread* Thread = nullptr;
std::atomic<bool> Quit{false};

int SDLCALL MusicThread(void*)
{
    for (;;) {
        SDL_SemWait(Wake);
        if (Quit.load()) {
            return 0;
        }
        FillMusicToLead();
    }
}

}  // namespace

bool PrepareMusicFeed()
{
    Wake = SDL_CreateSemaphore(0);
    if (Wake == nullptr) {
        ShowMessageBox("NULL handle", "Error");
        ShowMessageBox("Couldn't set notification positions", "Error");
        return false;
    }
    return true;
}

bool StartMusicFeed()
{
    Thread = SDL_CreateThread(MusicThread, "music", nullptr);
    return Thread != nullptr;
}

void WakeMusicFeed()
{
    if (Wake != nullptr) {
        SDL_SemPost(Wake);
    }
}

void StopMusicFeed()
{
    if (Thread != nullptr) {
        Quit.store(true);
        SDL_SemPost(Wake);
        SDL_WaitThread(Thread, nullptr);
        Thread = nullptr;
        Quit.store(false);
    }
    if (Wake != nullptr) {
        SDL_DestroySemaphore(Wake);
        Wake = nullptr;
    }
}
