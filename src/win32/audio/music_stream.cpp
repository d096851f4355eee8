// music_stream.cpp -- opening, playing, refilling and closing the streamed music.
#include "win32/audio/music_stream.h"

#include <cstdio>
#include <vector>

#include "core/audio/chunk_fill.h"
#include "core/log/debug_log.h"
#include "ports/message_box.h"
#include "ports/sound.h"
#include "win32/shell/end_thread.h"
#include "win32/shell/main_window.h"
#include "win32/shell/owned_message_box.h"

MusicStream GameMusic;

namespace {

// Chunks decoded ahead of the one being played when playback starts or resumes.
constexpr uint32_t PlayLeadChunks = 2;

// Boxes wanted by a fill; shown only after the buffer is unlocked and the fill lock is left, so a
// box waiting for the player never holds the main thread's Play at the lock.
struct FillNotes {
    bool initialError = false;
    bool badLink = false;
    bool hole = false;
    char lockSize[16] = {};
};

class VorbisDecoder : public ChunkDecoder {
public:
    VorbisDecoder(MusicStream& stream, FillNotes& notes) : stream(stream), notes(notes) {}

    long Read(uint8_t* destination, uint32_t length) override
    {
        const long result = ov_read(&stream.vorbisFile, reinterpret_cast<char*>(destination), static_cast<int>(length),
            0, 2, 1, &stream.currentSection);
        if (result == OV_EBADLINK) {
            notes.badLink = true;
        } else if (result == OV_HOLE) {
            notes.hole = true;
        }
        return result;
    }

    void SeekToStart() override { ov_pcm_seek(&stream.vorbisFile, 0); }

private:
    MusicStream& stream;
    FillNotes& notes;
};

bool FillUnderLock(MusicStream& stream, FillNotes& notes)
{
    stream.bytesWritten = 0;
    if (stream.streamBuffer == nullptr || stream.file == nullptr) {
        notes.initialError = true;
        return false;
    }
    if (FAILED(stream.streamBuffer->Lock(
            stream.writeOffset, stream.chunkSize, &stream.lockPointer, &stream.lockBytes, nullptr, nullptr, 0))) {
        return false;
    }
    if (stream.lockBytes != stream.chunkSize) {
        std::snprintf(notes.lockSize, sizeof notes.lockSize, "%i", static_cast<int>(stream.lockBytes));
    }
    VorbisDecoder decoder(stream, notes);
    stream.bytesWritten = FillChunk(decoder, static_cast<uint8_t*>(stream.lockPointer), stream.lockBytes);
    if (FAILED(stream.streamBuffer->Unlock(stream.lockPointer, stream.lockBytes, nullptr, 0))) {
        return false;
    }
    stream.writeOffset = NextWriteOffset(stream.writeOffset, stream.chunkSize, stream.streamBufferSize);
    return true;
}

void ShowFillNotes(const FillNotes& notes)
{
    if (notes.initialError) {
        ShowErrorBox("Initial error during fillstreambuffer");
    }
    if (notes.lockSize[0] != '\0') {
        ShowErrorBox(notes.lockSize);
    }
    if (notes.badLink) {
        ShowErrorBox("invalid stream section");
    }
    if (notes.hole) {
        ShowErrorBox("interruption in the data");
    }
}

// Decodes, in one hold of the fill lock, the chunks that put the writer PlayLeadChunks past the
// chunk being played: one after a notification, two when a late thread found two merged into one,
// none when they are there already, so the music thread and Play never fill for the same lack. A
// writer that the cursor has passed goes on at the chunk being played.
bool FillToLead(MusicStream& stream)
{
    FillNotes notes;
    bool filled = true;
    EnterCriticalSection(&stream.fillLock);
    DWORD cursor = 0;
    if (stream.streamBuffer == nullptr || FAILED(stream.streamBuffer->GetCurrentPosition(&cursor, nullptr))) {
        // A cursor that cannot be read counts as one chunk behind the writer: one fill.
        cursor = stream.writeOffset + stream.streamBufferSize - stream.chunkSize;
    }
    const DWORD size = stream.streamBufferSize;
    stream.writeOffset = LeadStart(stream.writeOffset, cursor, stream.chunkSize, size, PlayLeadChunks);
    const uint32_t missing = ChunksToFill(stream.writeOffset, cursor, stream.chunkSize, size, PlayLeadChunks);
    for (uint32_t chunk = 0; chunk < missing; ++chunk) {
        filled = FillUnderLock(stream, notes) && filled;
    }
    LeaveCriticalSection(&stream.fillLock);
    ShowFillNotes(notes);
    return filled;
}

void ShowOpenError(HWND window, int result)
{
    switch (result) {
    case OV_EVERSION: ShowErrorBox("Vorbis version mismatch."); break;
    case OV_EBADHEADER: ShowErrorBox("Invalid Vorbis bitstream header."); break;
    case OV_ENOTVORBIS: ShowErrorBox("Bitstream is not Vorbis data"); break;
    case OV_EFAULT: ShowErrorBox("Internal logic fault; indicates a bug or heap/stack corruption."); break;
    case OV_EREAD: ShowErrorBox("A read from media returned an error."); break;
    default: OwnedMessageBox(window, "Unknown error opening ogg", "Error", MB_OK); break;
    }
}

bool SetNotifications(MusicStream& stream)
{
    std::vector<DSBPOSITIONNOTIFY> positions(stream.notifyCount);
    for (DWORD i = 0; i < stream.notifyCount; ++i) {
        positions[i].dwOffset = NotificationOffset(i, stream.chunkSize);
        positions[i].hEventNotify = stream.notifyEvent;
    }
    stream.lpdsnotify = nullptr;
    const HRESULT result =
        stream.streamBuffer->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&stream.lpdsnotify));
    if (result == E_NOINTERFACE) {
        ShowErrorBox("no interface");
    }
    if (stream.lpdsnotify == nullptr) {
        ShowErrorBox("lpdsnotify not inited");
        return false;
    }
    if (FAILED(stream.lpdsnotify->SetNotificationPositions(stream.notifyCount, positions.data()))) {
        ShowErrorBox("Couldn't set notification positions");
        return false;
    }
    return true;
}

// Empties the thread's queue; true when WM_QUIT was among the messages.
bool DrainMessages()
{
    bool quit = false;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        quit = quit || message.message == WM_QUIT;
    }
    return quit;
}

enum class Wake { Event, Quit, Nothing };

// Waits for the event or the queue. Without a usable event only the queue is waited on, so a
// missing or broken event can never turn the wait into a busy loop.
Wake WaitForWake(HANDLE event, DWORD& handleCount)
{
    const DWORD answer = MsgWaitForMultipleObjects(handleCount, &event, FALSE, INFINITE, QS_ALLEVENTS);
    if (handleCount == 1 && answer == WAIT_OBJECT_0) {
        return Wake::Event;
    }
    if (answer == WAIT_OBJECT_0 + handleCount) {
        return DrainMessages() ? Wake::Quit : Wake::Nothing;
    }
    if (answer == WAIT_FAILED) {
        handleCount = 0;
    }
    return Wake::Nothing;
}

}  // namespace

MusicStream::MusicStream()
{
    InitializeCriticalSection(&fillLock);
}

MusicStream::~MusicStream()
{
    Close();
    DeleteCriticalSection(&fillLock);
}

bool MusicStream::Init(HWND window, IDirectSound8* device, LPTHREAD_START_ROUTINE threadProc)
{
    this->window = window;
    this->device = device;
    this->threadProc = threadProc;
    return true;
}

bool MusicStream::Open(const char* fileName)
{
    if (device == nullptr || threadProc == nullptr) {
        return false;
    }
    Close();
    // Reading is all the decoder does, so a read-only music file must open too.
    file = std::fopen(fileName, "rb");
    if (file == nullptr) {
        OwnedMessageBox(window, "Error opening file", "Error", MB_OK);
    }
    const int opened = ov_open(file, &vorbisFile, nullptr, 0);
    if (opened != 0) {
        // The decoder leaves a file it refused with the caller.
        if (file != nullptr) {
            std::fclose(file);
            file = nullptr;
        }
        ShowOpenError(window, opened);
        return false;
    }
    // Every later failure releases what was made, so no half-opened stream is ever played.
    vorbisInfo = ov_info(&vorbisFile, -1);
    if (vorbisInfo == nullptr) {
        Close();
        return false;
    }
    if (!CreateStreamBuffer(device, &streamBuffer, streamBufferSize)) {
        OwnedMessageBox(window, "Failed to create secondary buffer", "Error", MB_OK);
        Close();
        return false;
    }
    // A new ring starts at its beginning, where its play cursor is.
    writeOffset = 0;
    notifyEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (notifyEvent == nullptr) {
        ShowErrorBox("NULL handle");
    }
    if (!SetNotifications(*this)) {
        Close();
        return false;
    }
    threadHandle = CreateThread(nullptr, 0, threadProc, window, 0, &threadId);
    return true;
}

bool MusicStream::Play()
{
    if (streamBuffer == nullptr) {
        return false;
    }
    streamBuffer->Stop();
    // Only what the stopped cursor lacks is decoded: two fresh chunks at every resume would move
    // the writer further ahead each time, until it overwrote the chunk being played.
    FillToLead(*this);
    if (FAILED(streamBuffer->Play(0, 0, DSBPLAY_LOOPING))) {
        ShowErrorBox("Faled to play");
        return false;
    }
    return true;
}

void MusicStream::Stop()
{
    if (streamBuffer != nullptr) {
        streamBuffer->Stop();
    }
}

void MusicStream::Close()
{
    if (threadHandle != nullptr) {
        EndThread(threadHandle, threadId);
        CloseHandle(threadHandle);
        threadHandle = nullptr;
        threadId = 0;
    }
    if (streamBuffer != nullptr) {
        streamBuffer->Stop();
        if (lpdsnotify != nullptr) {
            lpdsnotify->Release();
            lpdsnotify = nullptr;
        }
        streamBuffer->Release();
        streamBuffer = nullptr;
    }
    if (notifyEvent != nullptr) {
        CloseHandle(notifyEvent);
        notifyEvent = nullptr;
    }
    // Clearing closes the file the decoder took; an unopened decoder state is all zero and harmless.
    ov_clear(&vorbisFile);
    file = nullptr;
    vorbisInfo = nullptr;
}

bool MusicStream::fillstreambuffer()
{
    FillNotes notes;
    EnterCriticalSection(&fillLock);
    const bool filled = FillUnderLock(*this, notes);
    LeaveCriticalSection(&fillLock);
    ShowFillNotes(notes);
    return filled;
}

bool OpenMusic()
{
    const bool opened = GameMusic.Open("loop1.dat");
    if (!opened) {
        WriteDebugLog("Error opening ogg file");
    }
    return opened;
}

int PlayMusic()
{
    if (!GameMusic.Play()) {
        WriteDebugLog("Error playing ogg file");
    }
    return 0;
}

DWORD RunMusicThread(MusicStream& stream)
{
    const HANDLE event = stream.notifyEvent;
    DWORD handleCount = event != nullptr ? 1 : 0;
    for (;;) {
        const Wake wake = WaitForWake(event, handleCount);
        if (wake == Wake::Quit) {
            return 0;
        }
        if (wake == Wake::Event && !FillToLead(stream)) {
            WriteDebugLog("Error filling stream buffer");
        }
    }
}

DWORD WINAPI MusicThreadProc(LPVOID)
{
    return RunMusicThread(GameMusic);
}

DWORD WINAPI NotificationThreadProc(LPVOID)
{
    const HANDLE event = NotificationEvent;
    DWORD handleCount = event != nullptr ? 1 : 0;
    // No buffer of this game is given the event, so a signal has nothing to service.
    while (WaitForWake(event, handleCount) != Wake::Quit) {
    }
    return 0;
}

bool CreateStreamBuffer(IDirectSound8* device, IDirectSoundBuffer** out, DWORD size)
{
    *out = nullptr;
    if (device == nullptr) {
        return false;
    }
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.nAvgBytesPerSec = 176400;
    format.nBlockAlign = 4;
    format.wBitsPerSample = 16;
    DSBUFFERDESC description = {};
    description.dwSize = sizeof description;
    description.dwFlags =
        DSBCAPS_GLOBALFOCUS | DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN | DSBCAPS_CTRLFREQUENCY;
    description.dwBufferBytes = size;
    description.lpwfxFormat = &format;
    if (FAILED(device->CreateSoundBuffer(&description, out, nullptr))) {
        *out = nullptr;
        return false;
    }
    return true;
}

void ShowErrorBox(const char* text)
{
    ShowMessageBox(text, "Error");
}

void ResumeMusic()
{
    GameMusic.Play();
}

void PauseMusic()
{
    GameMusic.Stop();
}

void SetMusicVolume(int32_t volume)
{
    if (GameMusic.streamBuffer != nullptr) {
        GameMusic.streamBuffer->SetVolume(volume);
    }
}
