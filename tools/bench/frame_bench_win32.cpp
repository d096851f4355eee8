// frame_bench_win32.cpp -- the cost of one playing frame on the real display, and how many
// frames the game's own message loop runs per second. Run from the game folder (it reads
// graphics.vbf).
// Usage: quadrone_frame_bench.exe [frames to time, default 3000] [seconds of the loop, default 5]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/common/random.h"
#include "core/game/board.h"
#include "core/game/frame.h"
#include "core/game/frame_state.h"
#include "core/game/keyboard.h"
#include "core/shell/shell.h"
#include "ports/drawing.h"
#include "ports/keyboard_device.h"
#include "win32/display/display.h"
#include "win32/input/keyboard.h"
#include "win32/shell/shell.h"

namespace {

uint32_t FramesThatReadKeys = 0;
uint32_t ScriptedFrame = 0;

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

double ProcessCpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ticks = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return (ticks(kernel) + ticks(user)) / 1e7;
}

void NewGame()
{
    ClearBoard();
    InitTetradTable();
    SetCurrentTetrad(Random() % TetradKindCount);
    NextKind = Random() % TetradKindCount;
    SetNextTetrad(NextKind);
    GameState = StatePlaying;
    LockPauseStart = 0;
    LastFrameTime = timeGetTime();
}

void HandlePendingMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Playing frames one after the other, a millisecond apart, the tetrad falling ten rows a second
// and the keys moving and turning it now and then.
void MeasureFrameCost(int frames)
{
    NewGame();
    FallSpeed = 1;
    std::vector<double> times;
    while (static_cast<int>(times.size()) < frames) {
        HandlePendingMessages();
        if (GameState != StatePlaying) {
            NewGame();
            FallSpeed = 1;
        }
        ++ScriptedFrame;
        const double start = Now();
        UpdateFrame(MenuButtons);
        times.push_back((Now() - start) * 1000);
        Sleep(1);
    }
    std::sort(times.begin(), times.end());
    std::printf("frame cost: %zu playing frames, median %.3f ms, p99 %.3f ms, max %.3f ms\n", times.size(),
        times[times.size() / 2], times[times.size() * 99 / 100], times.back());
}

void CALLBACK EndLoop(HWND, UINT, UINT_PTR, DWORD)
{
    PostQuitMessage(0);
}

// The game's own loop on the play screen with no key held.
void MeasureLoop(double seconds)
{
    NewGame();
    FallSpeed = 10;
    ScriptedFrame = 0;
    FramesThatReadKeys = 0;
    SetTimer(nullptr, 0, static_cast<UINT>(seconds * 1000), EndLoop);
    const double cpuBefore = ProcessCpuSeconds();
    const double start = Now();
    RunMessageLoop();
    const double wall = Now() - start;
    const double cpu = ProcessCpuSeconds() - cpuBefore;
    std::printf("message loop in play: %.1f frames per second over %.1f s, %.1f%% of one core\n",
        FramesThatReadKeys / wall, wall, 100 * cpu / wall);
}

}  // namespace

// The keyboard device, scripted: every 40th frame holds Left, Right or Space for three frames.
ResultCode AcquireKeyboard()
{
    return 0;
}

ResultCode ReadKeyboardState(uint8_t (&snapshot)[KeySnapshotSize])
{
    ++FramesThatReadKeys;
    std::fill(std::begin(snapshot), std::end(snapshot), 0);
    if (ScriptedFrame % 40 < 3) {
        const uint8_t keys[] = {KeyLeft, KeySpace, KeyRight, KeySpace};
        snapshot[keys[ScriptedFrame / 40 % 4]] = 0x80;
    }
    return 0;
}

void ReleaseKeyboard()
{
}

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int frames = argc > 1 ? std::atoi(argv[1]) : 3000;
    const double seconds = argc > 2 ? std::atof(argv[2]) : 5;
    HWND window = nullptr;
    if (FAILED(InitWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL, &window)) || InitDirectDraw(window) < 0) {
        std::printf("no window or no DirectDraw\n");
        return 1;
    }
    LoadGraphics(MenuButtons);
    SeedRandom(GetTickCount());
    timeBeginPeriod(1);
    MeasureFrameCost(frames);
    timeEndPeriod(1);  // the loop asks for its own timer resolution, if it wants one
    MeasureLoop(seconds);
    Shutdown();
    return 0;
}
