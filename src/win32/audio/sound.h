// sound.h -- a sound effect held in N DirectSound buffers that share one copy of its PCM.
#pragma once

#include <dsound.h>
#include <mmsystem.h>
#include <windows.h>

#include <memory>

#include "ports/sound.h"

// PCM held in memory, from which a buffer is (re)filled; it keeps its own copy of the bytes.
class WaveSource {
public:
    bool Open(const BYTE* data, DWORD size, const WAVEFORMATEX& format);  // false: no memory
    void Close();

    WAVEFORMATEX waveFormat = {};
    std::unique_ptr<BYTE[]> pcmData;
    DWORD pcmSize = 0;
    const BYTE* position = nullptr;
};

class Sound {
public:
    // Takes the N buffers (entry 0 made from the data, the rest its duplicates), fills entry 0
    // from the source and rewinds them all.
    Sound(std::unique_ptr<IDirectSoundBuffer*[]> buffers, DWORD bufferSize, DWORD bufferCount,
        std::unique_ptr<WaveSource> source);
    virtual ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    std::unique_ptr<IDirectSoundBuffer*[]> buffers;
    DWORD bufferSize;
    DWORD bufferCount;
    std::unique_ptr<WaveSource> source;
};

// Plays a free buffer of the sound, or a playing one at random when all of them sound.
HRESULT StartSound(Sound* sound, DWORD priority, DWORD flags, LONG volume);
// The first buffer that is not playing; a random one when all play; none without buffers.
IDirectSoundBuffer* FindFreeBuffer(Sound* sound);
// Restores a lost buffer: S_FALSE when it was not lost; gives up on repeated other failures.
HRESULT RestoreSoundBuffer(IDirectSoundBuffer* buffer, bool* restored);
// Copies the sound's PCM into the buffer, silence after it.
HRESULT FillSoundBuffer(Sound* sound, IDirectSoundBuffer* buffer);

// Restore answers other than "still lost" after which RestoreSoundBuffer gives up.
constexpr int MaxRestoreFailures = 50;
