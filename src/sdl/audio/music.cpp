// music.cpp -- the endless Ogg Vorbis music: its feed decodes it into the ring a lead ahead of the
// device, which only copies it out, so decoding never holds up the sound.
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
#include "sdl/audio/music_feed.h"

namespace {

struct MusicStream {
    OggVorbis_File vorbisFile = {};
    bool decoderOpen = false;
    int currentSection = 0;
    MusicRing ring;
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

}  // namespace

// Runs in the feed, or on the main thread before the feed starts; boxes block only the thread that
// decodes, as on Windows.
void FillMusicToLead()
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

namespace {

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
    if (!PrepareMusicFeed()) {
        CloseMusic();
        return false;
    }
    // The lead is there before the first play, as Windows decodes it before playing.
    FillMusicToLead();
    if (!StartMusicFeed()) {
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
    WakeMusicFeed();
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
    StopMusicFeed();
    if (Music.decoderOpen) {
        ov_clear(&Music.vorbisFile);  // closes the file too
        Music.decoderOpen = false;
    }
}

void MixMusic(int32_t* sum, uint32_t frames)
{
    if (Music.open && Music.playing && Music.ring.Mix(Music.gain, sum, frames)) {
        WakeMusicFeed();
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
