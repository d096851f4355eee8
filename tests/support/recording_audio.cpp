// recording_audio.cpp -- sound effects and music as recorders, for tests of the game code.
#include <string>

#include "ports/sound.h"
#include "test_support.h"

class Sound {
public:
    const char* name;
    bool playing;
};

namespace {
Sound Rotate{"rotate", false}, Zap{"zap", false}, Attach{"attach", false}, Static{"static", false},
    Static2{"static2", false};

// Records the call with the sound's name and, where one is given, sets whether it plays.
ResultCode Recorded(const std::string& call, Sound* sound, int playing = -1, const std::string& more = "")
{
    RecordCall(call + " " + (sound == nullptr ? "none" : sound->name) + more);
    if (sound != nullptr && playing >= 0) {
        sound->playing = playing == 1;
    }
    return ResultOk;
}
}  // namespace

Sound* RotateSound = &Rotate;
Sound* ZapSound = &Zap;
Sound* AttachSound = &Attach;
Sound* StaticSound = &Static;
Sound* Static2Sound = &Static2;

void SetSoundPlaying(Sound* sound, bool playing)
{
    sound->playing = playing;
}

void StopAllRecordedSounds()
{
    for (Sound* sound : {&Rotate, &Zap, &Attach, &Static, &Static2}) {
        sound->playing = false;
    }
}

// A question, not an action: not recorded.
bool SoundIsPlaying(Sound* sound)
{
    return sound != nullptr && sound->playing;
}

ResultCode StopSound(Sound* sound)
{
    return Recorded("StopSound", sound, 0);
}
ResultCode ResetSound(Sound* sound)
{
    return Recorded("ResetSound", sound);
}

ResultCode PlayEffect(Sound* sound, uint32_t priority, uint32_t flags)
{
    return Recorded("PlayEffect", sound, 1, " " + std::to_string(priority) + " " + std::to_string(flags));
}

void ResumeMusic()
{
    RecordCall("ResumeMusic");
}
void PauseMusic()
{
    RecordCall("PauseMusic");
}
void SetMusicVolume(int32_t volume)
{
    RecordCall("SetMusicVolume " + std::to_string(volume));
}
