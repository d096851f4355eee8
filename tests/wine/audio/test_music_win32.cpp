// The streamed music on a real DirectSound ring buffer and vorbisfile: its failures, the fill
// arithmetic, the thread, and the mends (read-only file, one fill at a time, bounded fills on
// empty or ruined streams, no busy wait without an event).
#include <cstdio>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>

#include "audio/music.h"
#include "audio/music_stream_win32.h"
#include "platform/main_window_win32.h"
#include "audio_test_support.h"

namespace {

constexpr DWORD Chunk = 176400;

// What a gapless loop of `pcm` holds from byte `start` on.
Bytes Looped(const Bytes& pcm, size_t start, size_t size)
{
    Bytes out(size);
    for (size_t i = 0; i < size; ++i) {
        out[i] = pcm[(start + i) % pcm.size()];
    }
    return out;
}

// Runs work on its own thread; false when it has not finished within the limit (a spin or a hang).
bool FinishesWithin(DWORD milliseconds, std::function<void()> work)
{
    HANDLE thread = CreateThread(
        nullptr, 0, [](LPVOID work) -> DWORD { return (*static_cast<std::function<void()>*>(work))(), 0; }, &work,
        0, nullptr);
    const bool finished = WaitForSingleObject(thread, milliseconds) == WAIT_OBJECT_0;
    if (!finished) {
        TerminateThread(thread, 1);
    }
    CloseHandle(thread);
    return finished;
}

MusicStream* ThreadStream = nullptr;

DWORD WINAPI RunThreadStream(LPVOID)
{
    return RunMusicThread(*ThreadStream);
}

ULONGLONG ProcessCpu100ns()
{
    FILETIME unused, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &unused, &unused, &kernel, &user);
    return (ULONGLONG{kernel.dwHighDateTime} << 32 | kernel.dwLowDateTime) +
           (ULONGLONG{user.dwHighDateTime} << 32 | user.dwLowDateTime);
}

// The thread burns no processor while it waits, and WM_QUIT ends it.
void ExpectIdleUntilQuit(LPTHREAD_START_ROUTINE procedure)
{
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, procedure, nullptr, 0, &id);
    Sleep(50);
    const ULONGLONG before = ProcessCpu100ns();
    Sleep(400);
    EXPECT_LT(ProcessCpu100ns() - before, 600000u) << "the waiting thread burns the processor";
    for (int tries = 0; tries < 500 && !PostThreadMessageA(id, WM_QUIT, 0, 0); ++tries) {
        Sleep(10);
    }
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    CloseHandle(thread);
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
        bool initialised;
        File file;
        Refusing where;
        int slot;
        void* answer;
        std::vector<std::string> boxes;
    };
    const Row rows[] = {
        {false, OggFile, Nothing, 0, nullptr, {}},
        {true, NoFile, Nothing, 0, nullptr, {"Error opening file|Error", "Bitstream is not Vorbis data|Error"}},
        {true, ForeignFile, Nothing, 0, nullptr, {"Bitstream is not Vorbis data|Error"}},
        {true, OggFile, Device, 3, reinterpret_cast<void*>(&Answer<DSERR_OUTOFMEMORY>),
         {"Failed to create secondary buffer|Error"}},
        {true, OggFile, RingBuffer, 0, reinterpret_cast<void*>(&Answer<E_NOINTERFACE>),
         {"no interface|Error", "lpdsnotify not inited|Error"}},
        {true, OggFile, RingBuffer, 0, reinterpret_cast<void*>(&Answer<E_FAIL>), {"lpdsnotify not inited|Error"}},
        {true, OggFile, Notify, 3, reinterpret_cast<void*>(&Answer<DSERR_INVALIDPARAM>),
         {"Couldn't set notification positions|Error"}},
        // The only row that opens: Play itself is refused.
        {true, OggFile, RingBuffer, 12, reinterpret_cast<void*>(&Answer<DSERR_BUFFERLOST>), {"Faled to play|Error"}},
    };
    IDirectSoundBuffer* ring = nullptr;
    ASSERT_TRUE(CreateStreamBuffer(manager.device, &ring, 8 * Chunk));
    IDirectSoundNotify* notify = nullptr;
    ASSERT_EQ(ring->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&notify)), DS_OK);
    void* const objects[] = {nullptr, manager.device, ring, notify};
    WriteOgg("music.ogg", TestMusic(13230, 1));
    for (size_t index = 0; index < std::size(rows); ++index) {
        const Row& row = rows[index];
        SCOPED_TRACE(index);
        const bool opens = row.slot == 12;
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
            EXPECT_EQ(OpenMusic(), opens);
            EXPECT_EQ(PlayMusic(), 0);
        }
        EXPECT_EQ(Boxes(), row.boxes);
        const std::vector<std::string> log = {"Error opening ogg file", "Error playing ogg file"};
        EXPECT_EQ(ReadDebugLog(), std::vector<std::string>(log.begin() + opens, log.end()));
        EXPECT_EQ(GameMusic.streamBuffer == nullptr && GameMusic.notifyEvent == nullptr && GameMusic.file == nullptr,
                  !opens);
        SetMusicVolume(-500);   // without a buffer: nothing to do
        GameMusic.Close();
    }
    notify->Release();
    ring->Release();
}

// The game's own music, read-only and held by another reader, plays; each notification at the
// end of a played second wakes the thread for one chunk more, and however often the music stops
// and plays again the writer stays one to three chunks ahead of the cursor.
TEST_F(MusicTest, ReadOnlyGameMusicPlaysAndTheThreadKeepsTheWriterAhead)
{
    const std::string music = GameDataPath("loop1.dat");
    if (music.empty()) {
        GTEST_SKIP() << "QUADRONE_GAME_DIR is not set";
    }
    ASSERT_TRUE(CopyFileA(music.c_str(), "loop1.dat", FALSE));
    ASSERT_TRUE(SetFileAttributesA("loop1.dat", FILE_ATTRIBUTE_READONLY));
    const Bytes decoded = DecodeOgg("loop1.dat");
    HANDLE reader = CreateFileA("loop1.dat", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    const bool opened = OpenMusic();
    CloseHandle(reader);
    ASSERT_TRUE(opened);
    ASSERT_TRUE(GameMusic.Play());
    EXPECT_EQ(GameMusic.writeOffset, 2 * Chunk);

    // The null sound device of the test machine plays faster than real time: the cursor is watched.
    DWORD play = 0, write = 0;
    for (int polls = 0; polls < 2000 && !(play / Chunk == 3 && play % Chunk > Chunk / 4); ++polls) {
        Sleep(5);
        GameMusic.streamBuffer->GetCurrentPosition(&play, &write);
    }
    GameMusic.Stop();
    Sleep(100);   // a fill the last notification started comes to its end
    ASSERT_EQ(play / Chunk, 3u) << "play cursor " << play;
    EXPECT_EQ(GameMusic.writeOffset, 5 * Chunk);
    EXPECT_EQ(ReadBuffer(GameMusic.streamBuffer, 0, 5 * Chunk), Bytes(decoded.begin(), decoded.begin() + 5 * Chunk));

    for (int resume = 1; resume <= 6; ++resume) {
        EXPECT_TRUE(GameMusic.Play());
        GameMusic.Stop();
        Sleep(50);
        GameMusic.streamBuffer->GetCurrentPosition(&play, &write);
        const DWORD lead = (GameMusic.writeOffset / Chunk + 8 - play / Chunk) % 8;
        EXPECT_TRUE(lead >= 1 && lead <= 3) << "resume " << resume << ", lead " << lead;
    }
    // The shell closes once more after the window is gone: nothing is left to end or release.
    GameMusic.Close();
    GameMusic.Close();
    EXPECT_EQ(GameMusic.threadHandle, nullptr);
    EXPECT_FALSE(GameMusic.Play());
    EXPECT_TRUE(Boxes().empty());
}

// 0.3 s: several whole passes per chunk; 1.7 s: the loop point moves from chunk to chunk, and two
// threads filling at once leave the same ring as one filling in turn.
TEST_F(MusicTest, ChunksLoopTheStreamWithoutGapFillTakingTurns)
{
    for (const uint32_t frames : {13230u, 74970u}) {
        SCOPED_TRACE(frames);
        WriteOgg("short.ogg", TestMusic(frames, frames));
        const Bytes decoded = DecodeOgg("short.ogg");
        ASSERT_TRUE(GameMusic.Open("short.ogg"));
        for (DWORD fill = 0; fill < 9; ++fill) {
            ASSERT_TRUE(GameMusic.fillstreambuffer());
            EXPECT_EQ(GameMusic.writeOffset, (fill + 1) % 8 * Chunk);
            EXPECT_EQ(RingChunk(fill % 8), Looped(decoded, fill * Chunk, Chunk)) << "fill " << fill;
        }
        auto fillFifteen = [](LPVOID) -> DWORD {
            for (int i = 0; i < 15; ++i) {
                GameMusic.fillstreambuffer();
            }
            return 0;
        };
        HANDLE threads[2] = {CreateThread(nullptr, 0, fillFifteen, nullptr, 0, nullptr),
                             CreateThread(nullptr, 0, fillFifteen, nullptr, 0, nullptr)};
        EXPECT_EQ(WaitForMultipleObjects(2, threads, TRUE, 30000), WAIT_OBJECT_0);
        CloseHandle(threads[0]);
        CloseHandle(threads[1]);
        for (DWORD fill = 31; fill < 39; ++fill) {
            EXPECT_EQ(RingChunk(fill % 8), Looped(decoded, fill * Chunk, Chunk)) << "fill " << fill;
        }
        GameMusic.Close();
    }
    EXPECT_TRUE(Boxes().empty());
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
        ASSERT_TRUE(GameMusic.Open(name)) << ::testing::PrintToString(Boxes());
        bool filled = true;
        ASSERT_TRUE(FinishesWithin(10000, [&] {
            for (int i = 0; i < 10; ++i) {
                filled = GameMusic.fillstreambuffer() && filled;
            }
        })) << "a fill does not end";
        EXPECT_TRUE(filled);
        EXPECT_EQ(GameMusic.writeOffset, 2 * Chunk);
        EXPECT_EQ(RingChunk(1).size(), Chunk);   // locks again only when every fill unlocked it
        GameMusic.Close();
    }
}

// Without a usable event the music thread waits on its queue alone; the shell's notification
// thread treats its event as nothing to do. Both end on WM_QUIT.
TEST_F(MusicTest, ThreadsWithoutAUsableEventWaitIdleAndEndOnQuit)
{
    MusicStream stream;
    ThreadStream = &stream;
    // A value no handle of this process has (a closed one could be handed out again at once).
    for (HANDLE event : {static_cast<HANDLE>(nullptr), reinterpret_cast<HANDLE>(uintptr_t{0x7FFFFFF0})}) {
        stream.notifyEvent = event;
        ExpectIdleUntilQuit(RunThreadStream);
    }
    stream.notifyEvent = nullptr;
    NotificationEvent = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    ExpectIdleUntilQuit(NotificationThreadProc);
    CloseHandle(NotificationEvent);
    NotificationEvent = nullptr;
}

TEST_F(MusicTest, CloseRightAfterOpenEndsTheThreadBeforeItHasAQueue)
{
    WriteOgg("short.ogg", TestMusic(13230, 9));
    for (int round = 0; round < 20; ++round) {
        ASSERT_TRUE(GameMusic.Open("short.ogg"));
        ASSERT_TRUE(FinishesWithin(5000, [] { GameMusic.Close(); })) << "round " << round;
    }
}
