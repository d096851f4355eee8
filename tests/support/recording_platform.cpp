// recording_platform.cpp -- stand-ins that record what the portable code asks of the platform.
#include <cstdio>
#include <string>
#include <vector>

#include "audio/effects.h"
#include "display/effects.h"
#include "display/playfield.h"
#include "log/message_box.h"
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

std::vector<RecordedBox> Boxes;
std::vector<std::string> Calls;

std::string NameOf(const Sound* sound)
{
    return sound == nullptr ? "none" : sound->name;
}
}  // namespace

Sound* RotateSound = &Rotate;
Sound* ZapSound = &Zap;
Sound* AttachSound = &Attach;
Sound* StaticSound = &Static;
Sound* Static2Sound = &Static2;

void ShowMessageBox(const char* text, const char* caption)
{
    Boxes.push_back({text, caption});
}

std::vector<RecordedBox> RecordedMessageBoxes()
{
    return Boxes;
}

void ClearRecordedMessageBoxes()
{
    Boxes.clear();
}

std::vector<std::string> RecordedCalls()
{
    return Calls;
}

void ClearRecordedCalls()
{
    Calls.clear();
    for (Sound* sound : {&Rotate, &Zap, &Attach, &Static, &Static2}) {
        sound->playing = false;
    }
}

void SetSoundPlaying(Sound* sound, bool playing)
{
    sound->playing = playing;
}

bool SoundIsPlaying(Sound* sound)
{
    Calls.push_back("SoundIsPlaying " + NameOf(sound));
    return sound != nullptr && sound->playing;
}

ResultCode StopSound(Sound* sound)
{
    Calls.push_back("StopSound " + NameOf(sound));
    if (sound != nullptr) {
        sound->playing = false;
    }
    return ResultOk;
}

ResultCode ResetSound(Sound* sound)
{
    Calls.push_back("ResetSound " + NameOf(sound));
    return ResultOk;
}

ResultCode PlayEffect(Sound* sound, uint32_t priority, uint32_t flags)
{
    Calls.push_back("PlayEffect " + NameOf(sound) + " " + std::to_string(priority) + " " +
                    std::to_string(flags));
    if (sound != nullptr) {
        sound->playing = true;
    }
    return ResultOk;
}

ResultCode DrawPlayScreen()
{
    Calls.push_back("DrawPlayScreen");
    return ResultOk;
}

void DrawSparks(int32_t row)
{
    Calls.push_back("DrawSparks " + std::to_string(row));
}
