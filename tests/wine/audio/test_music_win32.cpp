// The streamed music on a real DirectSound ring buffer and vorbisfile: the fill arithmetic, the
// thread, the open failures with their boxes, and the mends (read-only file, one fill at a time,
// bounded fills on empty or ruined streams, no busy wait without an event).
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

#include "audio/music.h"
#include "audio/music_stream_win32.h"
#include "platform/main_window_win32.h"
#include "audio_test_support.h"

namespace {

constexpr DWORD Chunk = 176400;
constexpr DWORD Ring = 8 * Chunk;

// What a gapless loop of `pcm` holds from byte `start` on.
Bytes Looped(const Bytes& pcm, size_t start, size_t size)
{
    Bytes out(size);
    for (size_t i = 0; i < size; ++i) {
        out[i] = pcm[(start + i) % pcm.size()];
    }
    return out;
}

ULONGLONG ProcessCpuMilliseconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ticks = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return (ticks(kernel) + ticks(user)) / 10000;
}

// Runs work on its own thread; false when it has not finished within the limit (a spin or a hang).
bool FinishesWithin(DWORD milliseconds, std::function<void()> work)
{
    HANDLE thread = CreateThread(
        nullptr, 0, [](LPVOID parameter) -> DWORD {
            (*static_cast<std::function<void()>*>(parameter))();
            return 0;
        },
        &work, 0, nullptr);
    const bool finished = WaitForSingleObject(thread, milliseconds) == WAIT_OBJECT_0;
    if (!finished) {
        TerminateThread(thread, 1);
    }
    CloseHandle(thread);
    return finished;
}

void PostQuit(DWORD threadId)
{
    for (int tries = 0; tries < 500 && !PostThreadMessageA(threadId, WM_QUIT, 0, 0); ++tries) {
        Sleep(10);
    }
}

MusicStream* ThreadStream = nullptr;

DWORD WINAPI RunThreadStream(LPVOID)
{
    return RunMusicThread(*ThreadStream);
}

// CPU the process burns while `thread` waits, and whether WM_QUIT then ends the thread.
void ExpectIdleUntilQuit(HANDLE thread, DWORD threadId)
{
    Sleep(50);
    const ULONGLONG before = ProcessCpuMilliseconds();
    Sleep(400);
    EXPECT_LT(ProcessCpuMilliseconds() - before, 60u) << "the waiting thread burns the processor";
    EXPECT_EQ(WaitForSingleObject(thread, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    PostQuit(threadId);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
}

}  // namespace

class MusicTest : public SoundDeviceTest {
protected:
    void SetUp() override
    {
        SoundDeviceTest::SetUp();
        GameMusic.Init(TestWindow(), manager.device, MusicThreadProc);
    }

    void TearDown() override
    {
        GameMusic.Close();
        SetFileAttributesA("loop1.dat", FILE_ATTRIBUTE_NORMAL);
        SoundDeviceTest::TearDown();
    }

    Bytes RingChunk(DWORD index) { return ReadBuffer(GameMusic.streamBuffer, index * Chunk, Chunk); }
};

// Every failure of opening or starting the music: its boxes, its log lines, and nothing left
// behind that could play stale sound.
TEST_F(MusicTest, FailuresShowTheirBoxesAndLeaveNothingHalfOpen)
{
    enum File { NoFile, OggFile, ForeignFile };
    enum Refusing { Nothing, Device, RingBuffer, Notify };   // whose class has the refusing method
    struct Row {
        const char* what;
        bool initialised;
        File file;
        Refusing where;
        int slot;
        void* answer;
        std::vector<std::string> boxes;
        bool opens;
    };
    const Row rows[] = {
        {"not initialised", false, OggFile, Nothing, 0, nullptr, {}, false},
        {"missing file", true, NoFile, Nothing, 0, nullptr,
         {"Error opening file|Error", "Bitstream is not Vorbis data|Error"}, false},
        {"foreign file", true, ForeignFile, Nothing, 0, nullptr, {"Bitstream is not Vorbis data|Error"}, false},
        {"ring refused", true, OggFile, Device, 3, reinterpret_cast<void*>(&Answer<DSERR_OUTOFMEMORY>),
         {"Failed to create secondary buffer|Error"}, false},
        {"no notification interface", true, OggFile, RingBuffer, 0, reinterpret_cast<void*>(&Answer<E_NOINTERFACE>),
         {"no interface|Error", "lpdsnotify not inited|Error"}, false},
        {"notification interface refused", true, OggFile, RingBuffer, 0, reinterpret_cast<void*>(&Answer<E_FAIL>),
         {"lpdsnotify not inited|Error"}, false},
        {"positions refused", true, OggFile, Notify, 3, reinterpret_cast<void*>(&Answer<DSERR_INVALIDPARAM>),
         {"Couldn't set notification positions|Error"}, false},
        {"play refused", true, OggFile, RingBuffer, 12, reinterpret_cast<void*>(&Answer<DSERR_BUFFERLOST>),
         {"Faled to play|Error"}, true},
    };
    IDirectSoundBuffer* ring = nullptr;
    ASSERT_TRUE(CreateStreamBuffer(manager.device, &ring, Ring));
    IDirectSoundNotify* notify = nullptr;
    ASSERT_EQ(ring->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&notify)), DS_OK);
    void* const objects[] = {nullptr, manager.device, ring, notify};
    WriteOgg("music.ogg", TestMusic(13230, 1));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::remove("debug.log");
        std::remove("loop1.dat");
        if (row.file != NoFile) {
            WriteFileBytes("loop1.dat", row.file == OggFile ? ReadFileBytes("music.ogg") : Bytes(5000, 0x41));
        }
        ClearBoxes();
        GameMusic.Init(TestWindow(), row.initialised ? manager.device : nullptr, MusicThreadProc);
        {
            std::unique_ptr<PatchedMethod> patch;
            if (row.where != Nothing) {
                patch = std::make_unique<PatchedMethod>(objects[row.where], row.slot, row.answer);
            }
            EXPECT_EQ(OpenMusic(), row.opens);
            EXPECT_EQ(PlayMusic(), 0);
        }
        EXPECT_EQ(Boxes(), row.boxes);
        std::vector<std::string> log = {"Error opening ogg file", "Error playing ogg file"};
        EXPECT_EQ(ReadDebugLog(), std::vector<std::string>(log.begin() + (row.opens ? 1 : 0), log.end()));
        if (!row.opens) {
            EXPECT_EQ(GameMusic.streamBuffer, nullptr);
            EXPECT_EQ(GameMusic.notifyEvent, nullptr);
            EXPECT_EQ(GameMusic.file, nullptr);
            SetMusicVolume(-500);   // no buffer: nothing to do
        }
        GameMusic.Close();
    }
    notify->Release();
    ring->Release();
}

TEST_F(MusicTest, ReadOnlyGameMusicPlaysAndTheThreadKeepsTheWriterAhead)
{
    const std::string music = GameDataPath("loop1.dat");
    if (music.empty()) {
        GTEST_SKIP() << "QUADRONE_GAME_DIR is not set";
    }
    ASSERT_TRUE(CopyFileA(music.c_str(), "loop1.dat", FALSE));
    ASSERT_TRUE(SetFileAttributesA("loop1.dat", FILE_ATTRIBUTE_READONLY));
    const Bytes decoded = DecodeOgg("loop1.dat");
    // Another reader that lets others only read; the attribute alone does not stop an administrator.
    HANDLE reader = CreateFileA("loop1.dat", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);

    const bool opened = OpenMusic();
    CloseHandle(reader);
    ASSERT_TRUE(opened);
    EXPECT_TRUE(Boxes().empty());
    ASSERT_TRUE(PlayMusic() == 0 && GameMusic.streamBuffer != nullptr);
    DWORD status = 0;
    GameMusic.streamBuffer->GetStatus(&status);
    EXPECT_EQ(status & (DSBSTATUS_PLAYING | DSBSTATUS_LOOPING), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    EXPECT_EQ(GameMusic.writeOffset, 2 * Chunk);

    // Each notification at the end of a played second wakes the thread for one chunk more. The
    // null sound device of the test machine plays faster than real time, so the cursor is watched.
    DWORD play = 0, write = 0;
    for (int polls = 0; polls < 2000; ++polls) {
        GameMusic.streamBuffer->GetCurrentPosition(&play, &write);
        if (play / Chunk == 3 && play % Chunk > Chunk / 4 && play % Chunk < Chunk * 3 / 4) {
            break;
        }
        Sleep(5);
    }
    GameMusic.Stop();
    Sleep(100);   // a fill the last notification started comes to its end
    ASSERT_EQ(play / Chunk, 3u) << "play cursor " << play;
    EXPECT_EQ(GameMusic.writeOffset, 5 * Chunk);
    EXPECT_EQ(ReadBuffer(GameMusic.streamBuffer, 0, GameMusic.writeOffset),
              Bytes(decoded.begin(), decoded.begin() + GameMusic.writeOffset));

    // Playing again goes on from the stopped cursor, and however often the music stops and plays
    // again the writer stays one to three chunks ahead of it, never reaching the chunk being played.
    GameMusic.streamBuffer->GetCurrentPosition(&play, &write);
    for (int resume = 1; resume <= 6; ++resume) {
        EXPECT_TRUE(GameMusic.Play());
        DWORD resumed = 0;
        GameMusic.streamBuffer->GetCurrentPosition(&resumed, &write);
        if (resume == 1) {
            EXPECT_EQ(GameMusic.writeOffset, 5 * Chunk) << "two chunks were ready, none is written";
            EXPECT_GE(resumed, play);
            EXPECT_LT(resumed, play + Chunk / 2);
        }
        GameMusic.Stop();
        Sleep(50);
        GameMusic.streamBuffer->GetCurrentPosition(&resumed, &write);
        const DWORD lead = (GameMusic.writeOffset / Chunk + 8 - resumed / Chunk) % 8;
        EXPECT_GE(lead, 1u) << "resume " << resume;
        EXPECT_LE(lead, 3u) << "resume " << resume;
    }

    EXPECT_TRUE(GameMusic.Play());
    SetMusicVolume(-500);
    LONG volume = 0;
    GameMusic.streamBuffer->GetVolume(&volume);
    EXPECT_EQ(volume, -500);

    GameMusic.Stop();
    GameMusic.Close();
    EXPECT_EQ(GameMusic.streamBuffer, nullptr);
    EXPECT_EQ(GameMusic.threadHandle, nullptr);
    EXPECT_EQ(GameMusic.notifyEvent, nullptr);
    EXPECT_EQ(GameMusic.file, nullptr);
    // The shell closes once more after the window is gone: nothing is left to end or release.
    GameMusic.Close();
    EXPECT_FALSE(GameMusic.Play());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(MusicTest, ChunksLoopTheStreamWithoutGapAndTheWriterWrapsAfterEight)
{
    // 0.3 s: several whole passes per chunk; 1.7 s: the loop point moves from chunk to chunk.
    for (const uint32_t frames : {13230u, 74970u}) {
        SCOPED_TRACE(frames);
        WriteOgg("short.ogg", TestMusic(frames, frames));
        const Bytes decoded = DecodeOgg("short.ogg");
        ASSERT_EQ(decoded.size(), frames * 4);
        ASSERT_TRUE(GameMusic.Open("short.ogg"));
        for (DWORD fill = 0; fill < 9; ++fill) {
            ASSERT_TRUE(GameMusic.fillstreambuffer());
            EXPECT_EQ(GameMusic.writeOffset, (fill + 1) % 8 * Chunk);
            EXPECT_EQ(GameMusic.bytesWritten, Chunk);
            EXPECT_EQ(RingChunk(fill % 8), Looped(decoded, fill * Chunk, Chunk)) << "fill " << fill;
        }
        GameMusic.Close();
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(MusicTest, FillsTakeTurnsOnTheirLock)
{
    WriteOgg("short.ogg", TestMusic(74970, 3));
    const Bytes decoded = DecodeOgg("short.ogg");
    ASSERT_TRUE(GameMusic.Open("short.ogg"));

    // Two threads filling at once leave the same ring as one thread filling in turn.
    auto fillTwenty = [](LPVOID) -> DWORD {
        for (int i = 0; i < 20; ++i) {
            GameMusic.fillstreambuffer();
        }
        return 0;
    };
    HANDLE threads[2] = {CreateThread(nullptr, 0, fillTwenty, nullptr, 0, nullptr),
                         CreateThread(nullptr, 0, fillTwenty, nullptr, 0, nullptr)};
    EXPECT_EQ(WaitForMultipleObjects(2, threads, TRUE, 30000), WAIT_OBJECT_0);
    CloseHandle(threads[0]);
    CloseHandle(threads[1]);
    EXPECT_EQ(GameMusic.writeOffset, 0u);   // 40 fills
    for (DWORD fill = 32; fill < 40; ++fill) {
        EXPECT_EQ(RingChunk(fill % 8), Looped(decoded, fill * Chunk, Chunk)) << "fill " << fill;
    }
}

TEST_F(MusicTest, EmptyOrRuinedStreamEndsEveryFillUnlockedAndMovesOn)
{
    WriteOgg("empty.ogg", {});
    WriteOgg("ruined.ogg", TestMusic(74970, 5));
    // Every audio page after the headers is damaged; its checksum no longer matches.
    Bytes ruined = ReadFileBytes("ruined.ogg");
    size_t pageStarts = 0;
    for (size_t i = 0; i + 4 <= ruined.size(); ++i) {
        if (std::memcmp(&ruined[i], "OggS", 4) == 0 && ++pageStarts >= 3) {
            for (size_t j = i + 30; j < ruined.size() && std::memcmp(&ruined[j - 26], "OggS", 4) != 0; ++j) {
                ruined[j] ^= 0x5A;
            }
        }
    }
    WriteFileBytes("ruined.ogg", ruined);

    for (const char* name : {"empty.ogg", "ruined.ogg"}) {
        SCOPED_TRACE(name);
        if (!GameMusic.Open(name)) {
            ADD_FAILURE() << "the decoder refused the stream: " << ::testing::PrintToString(Boxes());
            continue;
        }
        bool filled = true;
        const bool finished = FinishesWithin(10000, [&] {
            for (int i = 0; i < 10; ++i) {
                filled = GameMusic.fillstreambuffer() && filled;
            }
        });
        ASSERT_TRUE(finished) << "a fill does not end";
        EXPECT_TRUE(filled);
        EXPECT_EQ(GameMusic.writeOffset, 2 * Chunk);
        // Locking it again works only when every fill unlocked it.
        const Bytes region = RingChunk(1);
        EXPECT_EQ(region.size(), Chunk);
        EXPECT_LE(RecordedMessageBoxes().size(), 20u);
        GameMusic.Close();
        ClearBoxes();
    }
}

TEST_F(MusicTest, ThreadsWithoutAUsableEventWaitIdleAndEndOnQuit)
{
    MusicStream stream;
    ThreadStream = &stream;
    // A value no handle of this process has (a closed one could be handed out again at once).
    HANDLE broken = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x7FFFFFF0));
    for (HANDLE event : {static_cast<HANDLE>(nullptr), broken}) {
        SCOPED_TRACE(event == nullptr ? "no event" : "broken event");
        stream.notifyEvent = event;
        DWORD id = 0;
        HANDLE thread = CreateThread(nullptr, 0, RunThreadStream, nullptr, 0, &id);
        ExpectIdleUntilQuit(thread, id);
        CloseHandle(thread);
    }
    stream.notifyEvent = nullptr;

    // The shell's notification thread: a signal is nothing to do, WM_QUIT ends it.
    for (bool withEvent : {true, false}) {
        SCOPED_TRACE(withEvent ? "with its event" : "without its event");
        NotificationEvent = withEvent ? CreateEventA(nullptr, FALSE, FALSE, nullptr) : nullptr;
        DWORD id = 0;
        HANDLE thread = CreateThread(nullptr, 0, NotificationThreadProc, nullptr, 0, &id);
        if (withEvent) {
            SetEvent(NotificationEvent);
        }
        ExpectIdleUntilQuit(thread, id);
        CloseHandle(thread);
        if (NotificationEvent != nullptr) {
            CloseHandle(NotificationEvent);
            NotificationEvent = nullptr;
        }
    }
}

TEST_F(MusicTest, CloseRightAfterOpenEndsTheThreadBeforeItHasAQueue)
{
    WriteOgg("short.ogg", TestMusic(13230, 9));
    for (int round = 0; round < 20; ++round) {
        ASSERT_TRUE(GameMusic.Open("short.ogg"));
        ASSERT_TRUE(FinishesWithin(5000, [] { GameMusic.Close(); })) << "round " << round;
    }
}
