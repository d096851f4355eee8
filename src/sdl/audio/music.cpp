// music.cpp -- the endless Ogg Vorbis music: a thread decodes it into the ring a lead ahead of the
// device, which only copies it out, so decoding never holds up the sound.
#include <atomic>
#include <cstdio>

#include <vorbis/vorbisfile.h>

#include "core/audio/chunk_fill.h"
#include "core/audio/mixer.h"
#include "core/audio/music_ring.h"
#include "core/log/debug_log.h"
#include "ports/message_box.h"
#include "ports/sound.h"
#include "sdl/audio/audio.h"
#include "sdl/audio/device.h"

namespace {

struct MusicStream {
    OggVorbis_File vorbisFile = {};
    bool decoderOpen = false;
    int currentSection = 0;
    MusicRing ring;
    SDL_sem* wake = nullptr;
    SDL_Thread* thread = nullptr;
    std::atomic<bool> quit{false};
    // Changed by the main thread under the device lock, read by the callback.
    bool open = false;
    bool playing = false;
    int32_t gain = UnityGain;
};

MusicStream Music;

// Damage met while decoding, shown once the chunk is done.
struct FillNotes {
    bool badLink = false;
    bool hole = false;
};

class VorbisDecoder : public ChunkDecoder {
public:
    explicit VorbisDecoder(FillNotes& notes) : notes(notes) {}

    long Read(uint8_t* destination, uint32_t length) override
    {
        const long result = ov_read(&Music.vorbisFile, reinterpret_cast<char*>(destination), static_cast<int>(length),
            SDL_BYTEORDER == SDL_BIG_ENDIAN, 2, 1, &Music.currentSection);
        if (result == OV_EBADLINK) {
            notes.badLink = true;
        } else if (result == OV_HOLE) {
            notes.hole = true;
        }
        return result;
    }

    void SeekToStart() override { ov_pcm_seek(&Music.vorbisFile, 0); }

private:
    FillNotes& notes;
};

// Decodes the chunks that the lead lacks. Runs on the music thread, or on the main thread before
// that thread exists; boxes block only the thread that decodes, as on Windows.
void FillToLead()
{
    FillNotes notes;
    for (uint32_t missing = Music.ring.ChunksWanted(); missing > 0; --missing) {
        uint8_t* chunk = Music.ring.NextChunk();
        if (chunk == nullptr) {
            break;
        }
        VorbisDecoder decoder(notes);
        FillChunk(decoder, chunk, MusicChunkSize);
        Music.ring.Publish();
    }
    if (notes.badLink) {
        ShowMessageBox("invalid stream section", "Error");
    }
    if (notes.hole) {
        ShowMessageBox("interruption in the data", "Error");
    }
}

int SDLCALL MusicThread(void*)
{
    for (;;) {
        SDL_SemWait(Music.wake);
        if (Music.quit.load()) {
            return 0;
        }
        FillToLead();
    }
}

void ShowOpenError(int result)
{
    switch (result) {
    case OV_EVERSION: ShowMessageBox("Vorbis version mismatch.", "Error"); break;
    case OV_EBADHEADER: ShowMessageBox("Invalid Vorbis bitstream header.", "Error"); break;
    case OV_ENOTVORBIS: ShowMessageBox("Bitstream is not Vorbis data", "Error"); break;
    case OV_EFAULT: ShowMessageBox("Internal logic fault; indicates a bug or heap/stack corruption.", "Error"); break;
    case OV_EREAD: ShowMessageBox("A read from media returned an error.", "Error"); break;
    default: ShowMessageBox("Unknown error opening ogg", "Error"); break;
    }
}

// The decoder, the ring with its lead and the music thread; false after the boxes of what failed.
bool OpenStream()
{
    if (AudioDevice == 0) {
        return false;
    }
    CloseMusic();
    char path[DataPathSize];
    MakeDataPath(path, "loop1.dat");
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        ShowMessageBox("Error opening file", "Error");
    }
    // Without a file the decoder finds no stream and says so.
    const int opened = ov_open(file, &Music.vorbisFile, nullptr, 0);
    if (opened != 0) {
        if (file != nullptr) {
            std::fclose(file);
        }
        ShowOpenError(opened);
        return false;
    }
    Music.decoderOpen = true;
    if (ov_info(&Music.vorbisFile, -1) == nullptr) {
        CloseMusic();
        return false;
    }
    if (!Music.ring.Allocate()) {
        ShowMessageBox("Failed to create secondary buffer", "Error");
        CloseMusic();
        return false;
    }
    Music.wake = SDL_CreateSemaphore(0);
    if (Music.wake == nullptr) {
        ShowMessageBox("NULL handle", "Error");
        ShowMessageBox("Couldn't set notification positions", "Error");
        CloseMusic();
        return false;
    }
    // The lead is there before the first play, as Windows decodes it before playing.
    FillToLead();
    Music.thread = SDL_CreateThread(MusicThread, "music", nullptr);
    if (Music.thread == nullptr) {
        CloseMusic();
        return false;
    }
    const DeviceLock hold;
    Music.open = true;
    Music.playing = false;
    Music.gain = UnityGain;
    return true;
}

bool PlayStream()
{
    if (!Music.open) {
        return false;
    }
    {
        const DeviceLock hold;
        Music.playing = true;
    }
    SDL_SemPost(Music.wake);
    return true;
}

}  // namespace

void CloseMusic()
{
    {
        const DeviceLock hold;
        Music.open = false;
        Music.playing = false;
    }
    if (Music.thread != nullptr) {
        Music.quit.store(true);
        SDL_SemPost(Music.wake);
        SDL_WaitThread(Music.thread, nullptr);
        Music.thread = nullptr;
        Music.quit.store(false);
    }
    if (Music.wake != nullptr) {
        SDL_DestroySemaphore(Music.wake);
        Music.wake = nullptr;
    }
    if (Music.decoderOpen) {
        ov_clear(&Music.vorbisFile);  // closes the file too
        Music.decoderOpen = false;
    }
}

void MixMusic(int32_t* sum, uint32_t frames)
{
    if (Music.open && Music.playing && Music.ring.Mix(Music.gain, sum, frames)) {
        SDL_SemPost(Music.wake);
    }
}

bool StartMusic()
{
    const bool opened = OpenStream();
    if (!opened) {
        WriteDebugLog("Error opening ogg file");
    }
    if (!PlayStream()) {
        WriteDebugLog("Error playing ogg file");
    }
    return opened;
}

void ResumeMusic()
{
    PlayStream();
}

void PauseMusic()
{
    const DeviceLock hold;
    Music.playing = false;
}

void SetMusicVolume(int32_t volume)
{
    int32_t gain = UnityGain;
    if (Music.open && GainOfVolume(volume, gain)) {
        const DeviceLock hold;
        Music.gain = gain;
    }
}
