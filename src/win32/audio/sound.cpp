// sound.cpp -- playing, stopping, rewinding and refilling multi-buffer sound effects.
#include "win32/audio/sound.h"

#include <cstring>
#include <new>

#include "core/common/random.h"

namespace {

bool IsPlaying(IDirectSoundBuffer* buffer)
{
    DWORD status = 0;  // a status that cannot be read counts as not playing
    buffer->GetStatus(&status);
    return (status & DSBSTATUS_PLAYING) != 0;
}

// Runs one buffer operation over every buffer and ORs the answers together.
template <typename Operation>
HRESULT ForEachBuffer(Sound* sound, Operation operation)
{
    if (sound == nullptr || !sound->buffers) {
        return CO_E_NOTINITIALIZED;
    }
    HRESULT result = S_OK;
    for (DWORD i = 0; i < sound->bufferCount; ++i) {
        if (sound->buffers[i] != nullptr) {
            result |= operation(sound->buffers[i]);
        }
    }
    return result;
}

BYTE SilenceByte(const WAVEFORMATEX& format)
{
    return format.wBitsPerSample == 8 ? 0x80 : 0x00;
}

}  // namespace

bool WaveSource::Open(const BYTE* data, DWORD size, const WAVEFORMATEX& format)
{
    pcmData.reset(new (std::nothrow) BYTE[size > 0 ? size : 1]);
    if (!pcmData) {
        return false;
    }
    std::memcpy(pcmData.get(), data, size);
    pcmSize = size;
    waveFormat = format;
    position = pcmData.get();
    return true;
}

void WaveSource::Close()
{
    pcmData.reset();
    pcmSize = 0;
    position = nullptr;
}

Sound::Sound(std::unique_ptr<IDirectSoundBuffer*[]> buffers, DWORD bufferSize, DWORD bufferCount,
    std::unique_ptr<WaveSource> source)
    : buffers(std::move(buffers)), bufferSize(bufferSize), bufferCount(bufferCount), source(std::move(source))
{
    // The duplicates share entry 0's memory, so one fill serves them all.
    FillSoundBuffer(this, this->buffers[0]);
    for (DWORD i = 0; i < bufferCount; ++i) {
        if (this->buffers[i] != nullptr) {
            this->buffers[i]->SetCurrentPosition(0);
        }
    }
}

Sound::~Sound()
{
    for (DWORD i = 0; i < bufferCount; ++i) {
        if (buffers[i] != nullptr) {
            buffers[i]->Release();
            buffers[i] = nullptr;
        }
    }
    buffers.reset();
    if (source) {
        source->Close();
    }
}

HRESULT FillSoundBuffer(Sound* sound, IDirectSoundBuffer* buffer)
{
    if (buffer == nullptr || sound == nullptr || !sound->source) {
        return CO_E_NOTINITIALIZED;
    }
    HRESULT result = RestoreSoundBuffer(buffer, nullptr);
    if (FAILED(result)) {
        return result;
    }
    void* region = nullptr;
    DWORD locked = 0;
    result = buffer->Lock(0, sound->bufferSize, &region, &locked, nullptr, nullptr, 0);
    if (FAILED(result)) {
        return result;
    }
    WaveSource& source = *sound->source;
    source.position = source.pcmData.get();
    const DWORD available = source.pcmSize;
    const DWORD copied = locked < available ? locked : available;
    std::memcpy(region, source.position, copied);
    if (copied < locked) {
        std::memset(static_cast<BYTE*>(region) + copied, SilenceByte(source.waveFormat), locked - copied);
    }
    buffer->Unlock(region, locked, nullptr, 0);
    return S_OK;
}

HRESULT RestoreSoundBuffer(IDirectSoundBuffer* buffer, bool* restored)
{
    if (buffer == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    if (restored != nullptr) {
        *restored = false;
    }
    DWORD status = 0;
    HRESULT result = buffer->GetStatus(&status);
    if (FAILED(result)) {
        return result;
    }
    if ((status & DSBSTATUS_BUFFERLOST) == 0) {
        return S_FALSE;
    }
    // While the memory is still taken the wait is the platform's; any other refusal is a fault
    // that retrying will not mend, so it is given up after a while.
    int failures = 0;
    while ((result = buffer->Restore()) != DS_OK) {
        if (result == DSERR_BUFFERLOST) {
            Sleep(10);
        } else if (++failures >= MaxRestoreFailures) {
            return result;
        }
    }
    if (restored != nullptr) {
        *restored = true;
    }
    return S_OK;
}

IDirectSoundBuffer* FindFreeBuffer(Sound* sound)
{
    if (sound == nullptr || !sound->buffers) {
        return nullptr;
    }
    for (DWORD i = 0; i < sound->bufferCount; ++i) {
        IDirectSoundBuffer* buffer = sound->buffers[i];
        if (buffer != nullptr && !IsPlaying(buffer)) {
            return buffer;
        }
    }
    return sound->bufferCount > 0 ? sound->buffers[Random() % sound->bufferCount] : nullptr;
}

HRESULT StartSound(Sound* sound, DWORD priority, DWORD flags, LONG volume)
{
    if (sound == nullptr || !sound->buffers) {
        return CO_E_NOTINITIALIZED;
    }
    IDirectSoundBuffer* buffer = FindFreeBuffer(sound);
    if (buffer == nullptr) {
        return E_FAIL;
    }
    bool restored = false;
    HRESULT result = RestoreSoundBuffer(buffer, &restored);
    if (FAILED(result)) {
        return result;
    }
    if (restored) {
        result = FillSoundBuffer(sound, buffer);
        if (FAILED(result)) {
            return result;
        }
        ResetSound(sound);
    }
    buffer->SetVolume(volume);
    return buffer->Play(0, priority, flags);
}

ResultCode StopSound(Sound* sound)
{
    return ForEachBuffer(sound, [](IDirectSoundBuffer* buffer) { return buffer->Stop(); });
}

ResultCode ResetSound(Sound* sound)
{
    return ForEachBuffer(sound, [](IDirectSoundBuffer* buffer) { return buffer->SetCurrentPosition(0); });
}

bool SoundIsPlaying(Sound* sound)
{
    if (sound == nullptr || !sound->buffers || sound->bufferCount == 0) {
        return false;
    }
    for (DWORD i = 0; i < sound->bufferCount; ++i) {
        if (sound->buffers[i] != nullptr && IsPlaying(sound->buffers[i])) {
            return true;
        }
    }
    return false;
}
