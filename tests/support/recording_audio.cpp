// recording_audio.cpp -- sound effects and music as recorders, for tests of the game code.
#include <string>

#include "audio/effects.h"
#include "audio/music.h"
#include "test_support.h"

class Sound {
public:
    const char* name;
    bool playing;
};

namespace {
Sound Rotate{"rotate", false};
Sound Zap{"zap", false};
Sound Attach{"attach", false};
Sound Static{"static", false};
Sound Static2{"static2", false};

std::string NameOf(const Sound* sound) {
    return sound == nullptr ? "none" : sound->name;
}
}  // namespace

Sound* RotateSound = &Rotate;
Sound* ZapSound = &Zap;
Sound* AttachSound = &Attach;
Sound* StaticSound = &Static;
Sound* Static2Sound = &Static2;

void SetSoundPlaying(Sound* sound, bool playing) {
    sound->playing = playing;
}

void StopAllRecordedSounds() {
    for (Sound* sound : {&Rotate, &Zap, &Attach, &Static, &Static2}) {
        sound->playing = false;
    }
}

bool SoundIsPlaying(Sound* sound) {
    RecordCall("SoundIsPlaying " + NameOf(sound));
    return sound != nullptr && sound->playing;
}

ResultCode StopSound(Sound* sound) {
    RecordCall("StopSound " + NameOf(sound));
    if (sound != nullptr) {
        sound->playing = false;
    }
    return ResultOk;
}

ResultCode ResetSound(Sound* sound) {
    RecordCall("ResetSound " + NameOf(sound));
    return ResultOk;
}

ResultCode PlayEffect(Sound* sound, uint32_t priority, uint32_t flags) {
    RecordCall("PlayEffect " + NameOf(sound) + " " + std::to_string(priority) + " " +
               std::to_string(flags));
    if (sound != nullptr) {
        sound->playing = true;
    }
    return ResultOk;
}

void SetMusicVolume(int32_t volume) { RecordCall("SetMusicVolume " + std::to_string(volume)); }
