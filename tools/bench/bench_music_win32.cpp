// bench_music_win32.cpp -- how long one one-second chunk takes to decode, and the music thread's share of
// a core while the music plays. Usage: quadrone_music_bench.exe [seconds of playing, default 10]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "win32/audio/music_stream.h"
#include "win32/audio/sound_manager.h"

namespace {

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

double ThreadCpuSeconds(HANDLE thread)
{
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(thread, &created, &exited, &kernel, &user)) {
        return -1;
    }
    auto ticks = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return (ticks(kernel) + ticks(user)) / 1e7;
}

std::string MusicPath()
{
    const char* folder = std::getenv("QUADRONE_GAME_DIR");
    return folder == nullptr ? std::string("loop1.dat") : std::string(folder) + "/loop1.dat";
}

// Fills chunk after chunk into the stopped ring: the whole piece and its loop point twice over.
void MeasureChunkDecoding()
{
    std::vector<double> times;
    for (int i = 0; i < 160; ++i) {
        const double start = Now();
        GameMusic.fillstreambuffer();
        times.push_back((Now() - start) * 1000);
    }
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (double t : times) {
        sum += t;
    }
    std::printf("chunk decode (176400 bytes, one second): %zu fills, mean %.2f ms, median %.2f ms, "
                "p95 %.2f ms, max %.2f ms (%.2f%% of a second at the mean)\n",
        times.size(), sum / times.size(), times[times.size() / 2], times[times.size() * 95 / 100], times.back(),
        sum / times.size() / 10);
}

// Plays for `seconds` of wall time and follows the play cursor to know how much music went by.
void MeasureThreadShare(double seconds)
{
    const double cpuBefore = ThreadCpuSeconds(GameMusic.threadHandle);
    GameMusic.Play();
    const double start = Now();
    DWORD last = 0, play = 0, write = 0;
    double playedBytes = 0;
    while (Now() - start < seconds) {
        Sleep(20);
        GameMusic.streamBuffer->GetCurrentPosition(&play, &write);
        playedBytes += (play + GameMusic.streamBufferSize - last) % GameMusic.streamBufferSize;
        last = play;
    }
    const double wall = Now() - start;
    const double cpu = ThreadCpuSeconds(GameMusic.threadHandle) - cpuBefore;
    GameMusic.Stop();
    const double played = playedBytes / GameMusic.chunkSize;
    std::printf("music thread while playing: %.3f s CPU in %.2f s wall = %.2f%% of one core; %.1f s of music "
                "played (%.2fx real time on this device), %.2f ms CPU per second of music\n",
        cpu, wall, 100 * cpu / wall, played, played / wall, 1000 * cpu / played);
}

}  // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10;
    HWND window = CreateWindowExA(
        0, "STATIC", "bench", WS_POPUP, 0, 0, 16, 16, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SoundManager manager;
    if (FAILED(manager.Init(window, DSSCL_PRIORITY, 2, 44100, 16))) {
        std::printf("no sound device\n");
        return 1;
    }
    GameMusic.Init(window, manager.device, MusicThreadProc);
    if (!GameMusic.Open(MusicPath().c_str())) {
        std::printf("cannot open %s\n", MusicPath().c_str());
        return 1;
    }
    MeasureChunkDecoding();
    MeasureThreadShare(seconds);
    GameMusic.Close();
    return 0;
}
