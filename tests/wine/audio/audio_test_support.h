// audio_test_support.h -- a window and a real DirectSound device for the audio tests, short Ogg files,
// the owned-box recorder, and a scriptable stand-in buffer for what Wine never does (losing memory).
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include <cstdint>
#include <string>
#include <vector>

#include "audio/sound_manager_win32.h"
#include "music.h"   // the asset tool's StereoMusic
#include "test_support.h"

using Bytes = std::vector<uint8_t>;

HWND TestWindow();

// A fresh folder and a SoundManager initialised as the shell does; boxes are recorded.
class SoundDeviceTest : public TempDirTest {
protected:
    void SetUp() override;
    void TearDown() override;
    SoundManager manager;
};

// Boxes the music stream showed with the game window as owner, as "text|caption".
std::vector<std::string> OwnedBoxes();
void ClearOwnedBoxes();

// Stereo music of `frames` frames: a rising tone over noise, so no two stretches look alike.
StereoMusic TestMusic(uint32_t frames, uint32_t seed);
// Writes it as an Ogg Vorbis file at 44100 Hz with the asset tool's encoder.
void WriteOgg(const std::string& path, const StereoMusic& music);
// Everything the decoder gives for a file, as bytes of 16-bit little-endian stereo.
Bytes DecodeOgg(const std::string& path);

// The game folder with the generated data (QUADRONE_GAME_DIR); empty when not set.
std::string GameDataPath(const char* fileName);

Bytes ReadBuffer(IDirectSoundBuffer* buffer, DWORD offset, DWORD size);

// Answers as scripted and counts calls; memory for Lock is its own.
class ScriptedBuffer : public IDirectSoundBuffer {
public:
    explicit ScriptedBuffer(DWORD size) : memory(size, 0xEE) {}

    STDMETHODIMP QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }
    STDMETHODIMP GetCaps(LPDSBCAPS) override { return E_NOTIMPL; }
    STDMETHODIMP GetCurrentPosition(LPDWORD play, LPDWORD) override { *play = position; return DS_OK; }
    STDMETHODIMP GetFormat(LPWAVEFORMATEX, DWORD, LPDWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetVolume(LPLONG) override { return E_NOTIMPL; }
    STDMETHODIMP GetPan(LPLONG) override { return E_NOTIMPL; }
    STDMETHODIMP GetFrequency(LPDWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetStatus(LPDWORD status) override;
    STDMETHODIMP Initialize(LPDIRECTSOUND, LPCDSBUFFERDESC) override { return E_NOTIMPL; }
    STDMETHODIMP Lock(DWORD offset, DWORD bytes, LPVOID* first, LPDWORD firstBytes, LPVOID*, LPDWORD,
                      DWORD) override;
    STDMETHODIMP Play(DWORD, DWORD, DWORD flags) override;
    STDMETHODIMP SetCurrentPosition(DWORD newPosition) override;
    STDMETHODIMP SetFormat(LPCWAVEFORMATEX) override { return E_NOTIMPL; }
    STDMETHODIMP SetVolume(LONG volume) override;
    STDMETHODIMP SetPan(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP SetFrequency(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Stop() override { calls.push_back("Stop"); return DS_OK; }
    STDMETHODIMP Unlock(LPVOID, DWORD, LPVOID, DWORD) override { calls.push_back("Unlock"); return DS_OK; }
    STDMETHODIMP Restore() override;

    Bytes memory;
    DWORD status = 0;
    DWORD position = 1234;
    std::vector<HRESULT> restoreAnswers;   // given out in turn; the last one repeats
    int restoreCalls = 0;
    ULONG references = 1;
    std::vector<std::string> calls;
};
