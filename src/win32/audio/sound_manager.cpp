// sound_manager.cpp -- the DirectSound 8 device, its primary format, and new effect sounds.
#include "win32/audio/sound_manager.h"

#include <memory>
#include <new>

#include "win32/audio/sound.h"

SoundManager* GameSoundManager = nullptr;

namespace {

void ReleaseDevice(IDirectSound8*& device)
{
    if (device != nullptr) {
        device->Release();
        device = nullptr;
    }
}

void ReleaseSlots(IDirectSoundBuffer** slots, DWORD count)
{
    for (DWORD i = 0; i < count; ++i) {
        if (slots[i] != nullptr) {
            slots[i]->Release();
            slots[i] = nullptr;
        }
    }
}

}  // namespace

SoundManager::~SoundManager()
{
    ReleaseDevice(device);
}

HRESULT SoundManager::Init(
    HWND window, DWORD cooperativeLevel, WORD channels, DWORD samplesPerSecond, WORD bitsPerSample)
{
    ReleaseDevice(device);
    HRESULT result = DirectSoundCreate8(nullptr, &device, nullptr);
    if (FAILED(result)) {
        device = nullptr;
        return result;
    }
    result = device->SetCooperativeLevel(window, cooperativeLevel);
    if (FAILED(result)) {
        return result;
    }
    return SetPrimaryFormat(channels, samplesPerSecond, bitsPerSample);
}

HRESULT SoundManager::SetPrimaryFormat(WORD channels, DWORD samplesPerSecond, WORD bitsPerSample)
{
    if (device == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    DSBUFFERDESC description = {};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_PRIMARYBUFFER;
    IDirectSoundBuffer* primary = nullptr;
    HRESULT result = device->CreateSoundBuffer(&description, &primary, nullptr);
    if (FAILED(result)) {
        return result;
    }
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = channels;
    format.nSamplesPerSec = samplesPerSecond;
    format.wBitsPerSample = bitsPerSample;
    format.nBlockAlign = static_cast<WORD>(bitsPerSample / 8 * channels);
    format.nAvgBytesPerSec = format.nBlockAlign * samplesPerSecond;
    result = primary->SetFormat(&format);
    primary->Release();
    return FAILED(result) ? result : S_OK;
}

HRESULT SoundManager::CreateSound(
    Sound** out, BYTE* data, DWORD size, const WAVEFORMATEX* format, DWORD flags, GUID algorithm3D, DWORD count)
{
    if (device == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    if (data == nullptr || out == nullptr || format == nullptr || count == 0) {
        return E_INVALIDARG;
    }
    std::unique_ptr<IDirectSoundBuffer*[]> slots(new (std::nothrow) IDirectSoundBuffer*[count]());
    if (!slots) {
        return E_OUTOFMEMORY;
    }
    std::unique_ptr<WaveSource> source(new (std::nothrow) WaveSource);
    if (!source || !source->Open(data, size, *format)) {
        return E_OUTOFMEMORY;
    }
    DSBUFFERDESC description = {};
    description.dwSize = sizeof description;
    description.dwFlags = flags;
    description.dwBufferBytes = size;
    description.lpwfxFormat = const_cast<WAVEFORMATEX*>(format);
    description.guid3DAlgorithm = algorithm3D;
    HRESULT result = device->CreateSoundBuffer(&description, &slots[0], nullptr);
    if (FAILED(result)) {
        slots[0] = nullptr;
        return result;
    }
    for (DWORD i = 1; i < count; ++i) {
        result = device->DuplicateSoundBuffer(slots[0], &slots[i]);
        if (FAILED(result)) {
            slots[i] = nullptr;
            ReleaseSlots(slots.get(), count);
            return result;
        }
    }
    *out = new (std::nothrow) Sound(std::move(slots), size, count, std::move(source));
    if (*out == nullptr) {
        // A failed allocation never took its arguments, so the buffers are still here to release.
        ReleaseSlots(slots.get(), count);
    }
    return S_OK;
}
