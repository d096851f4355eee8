// audio_test_support.h -- a window and a real DirectSound device for the audio tests, every box
// recorded, short Ogg files, and allocations that can be made to fail.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include <cstdint>
#include <string>
#include <vector>

#include "audio/sound_manager_win32.h"
#include "music.h"   // the asset tool's StereoMusic
#include "patched_method.h"
#include "test_support.h"

using Bytes = std::vector<uint8_t>;

HWND TestWindow();

// A fresh folder and a SoundManager initialised as the shell does; boxes are recorded.
class SoundDeviceTest : public TempDirTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Every box so far as "text|caption": those with the game window as owner first.
    std::vector<std::string> Boxes();
    void ClearBoxes();
    SoundManager manager;
};

// Stereo music of `frames` frames: a rising tone over noise, so no two stretches look alike.
StereoMusic TestMusic(uint32_t frames, uint32_t seed);
// Writes it as an Ogg Vorbis file at 44100 Hz with the asset tool's encoder.
void WriteOgg(const std::string& path, const StereoMusic& music);
// Everything the decoder gives for a file, as bytes of 16-bit little-endian stereo.
Bytes DecodeOgg(const std::string& path);

// The game folder with the generated data (QUADRONE_GAME_DIR); empty when not set.
std::string GameDataPath(const char* fileName);

Bytes ReadBuffer(IDirectSoundBuffer* buffer, DWORD offset, DWORD size);

// While not 0, every operator new of this many bytes or more throws std::bad_alloc.
extern size_t RefusedAllocationSize;
