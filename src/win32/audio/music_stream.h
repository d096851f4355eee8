// music_stream.h -- the endless Ogg Vorbis music: an 8-second ring refilled by its own thread.
#pragma once

#include <dsound.h>
#include <mmsystem.h>
#include <windows.h>

#include <cstdio>

#include <vorbis/vorbisfile.h>

class MusicStream {
public:
    MusicStream();
    ~MusicStream();  // closes the stream
    MusicStream(const MusicStream&) = delete;
    MusicStream& operator=(const MusicStream&) = delete;

    bool Init(HWND window, IDirectSound8* device, LPTHREAD_START_ROUTINE threadProc);  // always true
    bool Open(const char* fileName);  // decoder, ring buffer, notifications, music thread
    bool Play();                      // the writer two chunks ahead of the cursor, then play looping
    void Stop();
    void Close();             // ends the thread and releases what Open made; repeatable
    bool fillstreambuffer();  // decodes the next one-second chunk at writeOffset

    IDirectSound8* device = nullptr;
    HWND window = nullptr;
    HANDLE notifyEvent = nullptr;
    IDirectSoundNotify* lpdsnotify = nullptr;
    OggVorbis_File vorbisFile = {};
    vorbis_info* vorbisInfo = nullptr;
    FILE* file = nullptr;
    DWORD streamBufferSize = 1411200;
    DWORD chunkSize = 176400;
    DWORD writeOffset = 0;
    int currentSection = 0;
    void* lockPointer = nullptr;
    DWORD lockBytes = 0;
    DWORD bytesWritten = 0;
    IDirectSoundBuffer* streamBuffer = nullptr;
    DWORD notifyCount = 8;
    DWORD threadId = 0;
    HANDLE threadHandle = nullptr;
    LPTHREAD_START_ROUTINE threadProc = nullptr;
    // Held for the whole of every fill: the music thread and Play on the main thread both fill.
    CRITICAL_SECTION fillLock;
};

extern MusicStream GameMusic;

// Opens "loop1.dat" into GameMusic; logs "Error opening ogg file" when that fails.
bool OpenMusic();
// Plays GameMusic; logs "Error playing ogg file" when that fails. Returns 0.
int PlayMusic();
// The music thread of GameMusic (the parameter is not used).
DWORD WINAPI MusicThreadProc(LPVOID parameter);
// The music thread's loop for any stream: on each notification, fills back to the lead the play
// cursor lacks, until WM_QUIT.
DWORD RunMusicThread(MusicStream& stream);
// The shell's idle thread: waits on NotificationEvent and its queue until WM_QUIT.
DWORD WINAPI NotificationThreadProc(LPVOID window);
// The looping 16-bit stereo 44100 Hz ring buffer with position notifications.
bool CreateStreamBuffer(IDirectSound8* device, IDirectSoundBuffer** out, DWORD size);
// Ownerless modal box with caption "Error".
void ShowErrorBox(const char* text);
