// audio_test_support.h -- a real DirectSound device for the audio tests, with every box recorded
// and the game's generated data at hand.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "com_method_win32.h"
#include "test_support.h"
#include "win32/audio/sound_manager.h"

using Bytes = std::vector<uint8_t>;

// A fresh folder and a SoundManager initialised as the shell does (for the desktop window);
// boxes are recorded.
class SoundDeviceTest : public TempDirTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Every box so far as "text|caption", the game window's own among them.
    std::vector<std::string> Boxes();
    // Copies a generated data file (QUADRONE_GAME_DIR) into the folder; false when there is none.
    bool CopyGameFile(const char* name);
    SoundManager manager;
};

Bytes ReadBuffer(IDirectSoundBuffer* buffer, DWORD offset, DWORD size);
