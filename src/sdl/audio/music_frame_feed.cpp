// music_frame_feed.cpp -- the browser's music feed: the page runs the game without threads, so the
// main loop decodes what the ring lacks once a frame. A frame decodes at most the chunk the device
// has just left, and the lead keeps two seconds in hand meanwhile.
#include "sdl/audio/audio.h"
#include "sdl/audio/music_feed.h"

namespace {
bool Feeding = false;
}  // namespace

bool PrepareMusicFeed()
{
    return true;
}

bool StartMusicFeed()
{
    Feeding = true;
    return true;
}

// The next frame looks at the lead anyway.
void WakeMusicFeed()
{
}

void StopMusicFeed()
{
    Feeding = false;
}

void FeedMusic()
{
    if (Feeding) {
        FillMusicToLead();
    }
}
