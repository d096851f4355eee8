// The streamed music on a real DirectSound ring buffer and vorbisfile: its failures, and the mends
// (read-only file, one fill at a time, no busy wait without an event).
// The fill arithmetic has its unit tests; what the player hears, the end-to-end ones.
#include <cstdio>
#include <iterator>
#include <memory>

#include "audio_test_support.h"
#include "ports/sound.h"
#include "win32/audio/music_stream.h"

namespace {

constexpr DWORD Chunk = 176400;
constexpr DWORD Ring = 8 * Chunk;

DWORD CursorChunk()
{
    DWORD cursor = 0;
    GameMusic.streamBuffer->GetCurrentPosition(&cursor, nullptr);
    return cursor / Chunk;
}

// Whole chunks the writer is past the chunk being played, read between fills.
DWORD Lead()
{
    EnterCriticalSection(&GameMusic.fillLock);
    const DWORD lead = (GameMusic.writeOffset / Chunk + 8 - CursorChunk()) % 8;
    LeaveCriticalSection(&GameMusic.fillLock);
    return lead;
}

// Polls until the condition holds, while the play cursor moves on by at most `chunks` chunks (and
// a minute at most, should the buffer not play); a poll that overslept still gets a last look.
template <typename Condition>
bool WithinChunks(DWORD chunks, Condition condition)
{
    const DWORD from = CursorChunk();
    for (int poll = 0; poll < 6000 && (CursorChunk() + 8 - from) % 8 <= chunks; ++poll) {
        if (condition()) {
            return true;
        }
        Sleep(10);
    }
    return condition();
}

}  // namespace

class MusicTest : public SoundDeviceTest {
protected:
    void SetUp() override
    {
        SoundDeviceTest::SetUp();
        GameMusic.Init(GetDesktopWindow(), manager.device, MusicThreadProc);
        if (!CopyGameFile("loop1.dat")) {
            GTEST_SKIP() << "QUADRONE_GAME_DIR does not hold loop1.dat";
        }
    }

    void TearDown() override
    {
        GameMusic.Close();
        SetFileAttributesA("loop1.dat", FILE_ATTRIBUTE_NORMAL);
        SoundDeviceTest::TearDown();
    }
};

// Every failure of opening or starting the music: its boxes, its log lines, and nothing left
// behind that could play stale sound.
TEST_F(MusicTest, FailuresShowTheirBoxesAndLeaveNothingHalfOpen)
{
    enum File { NoFile, OggFile, ForeignFile };
    enum Refusing { Nothing, Device, RingBuffer, Notify };  // whose class has the refusing method
    struct Row {
        const char* name;
        bool initialised;
        File file;
        Refusing where;
        ComMethod refusing;
        HRESULT(STDMETHODCALLTYPE* answer)();
        std::vector<std::string> boxes;
    };
    const ComMethod createBuffer = Method(&IDirectSound8::CreateSoundBuffer),
                    query = Method(&IDirectSoundBuffer::QueryInterface),
                    setPositions = Method(&IDirectSoundNotify::SetNotificationPositions),
                    play = Method(&IDirectSoundBuffer::Play);
    const Row rows[] = {
        {"NotInitialised", false, OggFile, Nothing, {}, nullptr, {}},
        {"NoFile", true, NoFile, Nothing, {}, nullptr,
            {"Error opening file|Error", "Bitstream is not Vorbis data|Error"}},
        {"NotVorbis", true, ForeignFile, Nothing, {}, nullptr, {"Bitstream is not Vorbis data|Error"}},
        {"NoRingBuffer", true, OggFile, Device, createBuffer, &Answer<DSERR_OUTOFMEMORY>,
            {"Failed to create secondary buffer|Error"}},
        {"NoNotifyInterface", true, OggFile, RingBuffer, query, &Answer<E_NOINTERFACE>,
            {"no interface|Error", "lpdsnotify not inited|Error"}},
        {"NotifyRefused", true, OggFile, RingBuffer, query, &Answer<E_FAIL>, {"lpdsnotify not inited|Error"}},
        {"PositionsRefused", true, OggFile, Notify, setPositions, &Answer<DSERR_INVALIDPARAM>,
            {"Couldn't set notification positions|Error"}},
        // The only row that opens: Play itself is refused.
        {"PlayRefused", true, OggFile, RingBuffer, play, &Answer<DSERR_BUFFERLOST>, {"Faled to play|Error"}},
    };
    IDirectSoundBuffer* ring = nullptr;
    ASSERT_TRUE(CreateStreamBuffer(manager.device, &ring, Ring));
    IDirectSoundNotify* notify = nullptr;
    ASSERT_EQ(ring->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&notify)), DS_OK);
    void* const objects[] = {nullptr, manager.device, ring, notify};
    const Bytes music = ReadFileBytes("loop1.dat");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const bool opens = row.refusing.slot == play.slot;
        std::remove("debug.log");
        std::remove("loop1.dat");
        if (row.file != NoFile) {
            WriteFileBytes("loop1.dat", row.file == OggFile ? music : Bytes(5000, 0x41));
        }
        ClearRecordedMessageBoxes();
        GameMusic.Init(GetDesktopWindow(), row.initialised ? manager.device : nullptr, MusicThreadProc);
        {
            std::unique_ptr<PatchedMethod> patch;
            if (row.where != Nothing) {
                patch = std::make_unique<PatchedMethod>(objects[row.where], row.refusing, row.answer);
            }
            EXPECT_EQ(OpenMusic(), opens);
            EXPECT_EQ(PlayMusic(), 0);
        }
        EXPECT_EQ(Boxes(), row.boxes);
        const std::vector<std::string> log = {"Error opening ogg file", "Error playing ogg file"};
        EXPECT_EQ(ReadDebugLog(), std::vector<std::string>(log.begin() + opens, log.end()));
        EXPECT_EQ(
            GameMusic.streamBuffer == nullptr && GameMusic.notifyEvent == nullptr && GameMusic.file == nullptr, !opens);
        SetMusicVolume(-500);  // without a buffer: nothing to do
        GameMusic.Close();
    }
    notify->Release();
    ring->Release();
}

// A music file that is read-only and held by another reader plays; the shell's second close
// after the window is gone finds nothing left to end or release.
TEST_F(MusicTest, ReadOnlyMusicPlaysAndClosesTwice)
{
    ASSERT_TRUE(SetFileAttributesA("loop1.dat", FILE_ATTRIBUTE_READONLY));
    HANDLE reader = CreateFileA("loop1.dat", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    const bool opened = OpenMusic();
    CloseHandle(reader);
    ASSERT_TRUE(opened);
    ASSERT_TRUE(GameMusic.Play());
    GameMusic.Close();
    GameMusic.Close();
    EXPECT_EQ(GameMusic.threadHandle, nullptr);
    EXPECT_FALSE(GameMusic.Play());
    EXPECT_TRUE(Boxes().empty());
}

// Two threads filling at once leave the ring one thread filling in turn leaves, wrapped to 0.
TEST_F(MusicTest, FillsTakeTurns)
{
    MusicStream reference;
    reference.Init(GetDesktopWindow(), manager.device, [](LPVOID) -> DWORD { return 0; });
    ASSERT_TRUE(reference.Open("loop1.dat") && GameMusic.Open("loop1.dat"));
    auto fillTwenty = [](LPVOID stream) -> DWORD {
        for (int i = 0; i < 20; ++i) {
            static_cast<MusicStream*>(stream)->fillstreambuffer();
        }
        return 0;
    };
    HANDLE threads[2] = {CreateThread(nullptr, 0, fillTwenty, &GameMusic, 0, nullptr),
        CreateThread(nullptr, 0, fillTwenty, &GameMusic, 0, nullptr)};
    fillTwenty(&reference);
    fillTwenty(&reference);
    EXPECT_EQ(WaitForMultipleObjects(2, threads, TRUE, 30000), WAIT_OBJECT_0);
    CloseHandle(threads[0]);
    CloseHandle(threads[1]);
    EXPECT_EQ(GameMusic.writeOffset, 0u);
    EXPECT_TRUE(ReadBuffer(GameMusic.streamBuffer, 0, Ring) == ReadBuffer(reference.streamBuffer, 0, Ring));
}

// A music thread held up while the cursor crosses two chunk ends wakes once for both: it fills back
// to two chunks ahead of the cursor instead of losing a chunk of lead for good; held up for three
// or more, the cursor has passed the writer, which goes on at the chunk being played.
TEST_F(MusicTest, LateThreadFillsBackToItsLead)
{
    ASSERT_TRUE(OpenMusic() && GameMusic.Play());
    ASSERT_TRUE(WithinChunks(3, [] { return Lead() == 2; }));
    for (const DWORD late : {2u, 3u}) {
        const DWORD from = CursorChunk();
        SuspendThread(GameMusic.threadHandle);
        EXPECT_TRUE(WithinChunks(7, [&] { return (CursorChunk() + 8 - from) % 8 >= late; }));
        ResumeThread(GameMusic.threadHandle);
        EXPECT_TRUE(WithinChunks(3, [] { return Lead() == 2; })) << "held up for " << late << " chunks";
    }
}

// Without a usable event the music thread waits on its queue alone: it burns no processor, and
// WM_QUIT ends it.
TEST_F(MusicTest, ThreadWithABrokenEventWaitsIdleAndEndsOnQuit)
{
    MusicStream stream;
    stream.notifyEvent = reinterpret_cast<HANDLE>(uintptr_t{0x7FFFFFF0});  // no handle of this process
    auto run = [](LPVOID stream) -> DWORD { return RunMusicThread(*static_cast<MusicStream*>(stream)); };
    FILETIME unused, kernel, user;
    auto processor = [&] {
        GetProcessTimes(GetCurrentProcess(), &unused, &unused, &kernel, &user);
        return uint64_t{kernel.dwLowDateTime} + user.dwLowDateTime;  // 100 ns units
    };
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, run, &stream, 0, &id);
    Sleep(50);
    const uint64_t before = processor();
    Sleep(400);
    EXPECT_LT(processor() - before, 600000u) << "the waiting thread burns the processor";
    EXPECT_TRUE(PostThreadMessageA(id, WM_QUIT, 0, 0));
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    CloseHandle(thread);
    stream.notifyEvent = nullptr;
}
