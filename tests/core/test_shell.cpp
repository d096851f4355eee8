// The shell's decisions: the command line, the window's geometry, the keys, the pause and the
// frame schedule.
#include "core/game/frame_state.h"
#include "core/game/high_scores.h"
#include "core/shell/frame_pacing.h"
#include "core/shell/shell.h"
#include "ports/sound.h"
#include "test_support.h"

using Calls = std::vector<std::string>;

TEST(CommandLine, OnlyTheWholeWordFullInAnyCase)
{
    for (const char* full : {"/full", "/FULL", "/fUlL"}) {
        EXPECT_TRUE(IsFullScreenCommandLine(full)) << full;
    }
    for (const char* windowed : {"", "/full ", "/full now", "/ful", " /full", "-full"}) {
        EXPECT_FALSE(IsFullScreenCommandLine(windowed)) << windowed;
    }
}

// The captioned window is sized so that its client area is the game area, and the game area is
// drawn at the client origin; in full screen both are the screen's corner.
TEST(WindowGeometry, TheGameAreaIsTheClientArea)
{
    WindowFrame = {4, 5, 23};
    WindowRectangle = {30, 40, 0, 0};
    for (const bool full : {false, true}) {
        FullScreen = full;
        const WindowSize size = WindowSizeFor(full, WindowFrame);
        const ScreenPoint origin = ComputeScreenOffset();
        SCOPED_TRACE(full ? "full screen" : "windowed");
        EXPECT_EQ(size.width, full ? 640 : 648);
        EXPECT_EQ(size.height, full ? 480 : 513);
        EXPECT_EQ(origin.x, full ? 0 : 34);
        EXPECT_EQ(origin.y, full ? 0 : 68);
    }
    FullScreen = false;
}

// Each row starts from its state; a key-down, with a game started unless said otherwise.
TEST(Keys, WhatEachKeyDoesInEachState)
{
    const struct {
        const char* what;
        int32_t state;
        uint32_t key;
        int32_t after;
        Calls calls;
        bool started = true;
    } cases[] = {
        {"Escape leaves the top five", StateTopFive, KeyEscape, StateTitleMenu,
            {"StopSound static2", "SetMusicVolume 0", "PostRepaint"}},
        {"Q leaves a game", StatePlaying, KeyQ, StateTitleMenu, {"SetMusicVolume 0", "PostRepaint"}},
        {"F2 leaves the initials", StateInitials, KeyF2, StateTitleMenu, {"SetMusicVolume 0", "PostRepaint"}},
        {"Escape on the menu repaints it", StateTitleMenu, KeyEscape, StateTitleMenu, {"PostRepaint"}},
        {"F1 pauses", StatePlaying, KeyF1, StatePaused, {"DrawControlsScreen"}},
        {"F1 in a pause", StatePaused, KeyF1, StatePaused, {}},
        {"Escape resumes where the pause began", StatePaused, KeyEscape, StateTopFive, {"PostRepaint"}},
        {"M pauses the music", StatePlaying, KeyM, StatePlaying, {"PauseMusic"}},
        {"M again resumes it", StatePlaying, KeyM, StatePlaying, {"ResumeMusic"}},
        {"F6 switches the display", StateTitleMenu, KeyF6, StateTitleMenu, {"SwitchDisplayMode"}},
        // Keys that a loader's box lets through reach no half-built game.
        {"F6 before the game started", StateTitleMenu, KeyF6, StateTitleMenu, {}, false},
        {"M before the game started", StateTitleMenu, KeyM, StateTitleMenu, {}, false},
    };
    MusicEnabled = true;
    InitialsActive = false;
    StopAllRecordedSounds();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GameStarted = c.started;
        GameState = c.state;
        PausedState = StateTopFive;
        SetSoundPlaying(Static2Sound, c.state == StateTopFive);
        ClearRecordedCalls();
        HandleKeyDown(c.key);
        EXPECT_EQ(GameState, c.after);
        EXPECT_EQ(RecordedCalls(), c.calls);
    }
    EXPECT_TRUE(MusicEnabled);
}

// A click ends a pause; while initials are typed every key is typed, F1's code as the letter p.
TEST(Keys, ClicksEndAPauseAndInitialsTakeEveryKey)
{
    GameStarted = true;
    GameState = StateTopFive;
    PausedState = StateTitleMenu;
    HandleKeyDown(KeyF1);
    ClearRecordedCalls();
    HandleLeftButtonUp();
    HandleLeftButtonUp();
    EXPECT_EQ(GameState, StateTopFive);
    EXPECT_EQ(RecordedCalls(), Calls{"PostRepaint"});

    GameState = StateInitials;
    InitialsActive = true;
    Initials[0] = '\0';
    ClearRecordedCalls();
    for (uint32_t key : {KeyF1, KeyEscape, KeyM}) {
        HandleKeyDown(key);
    }
    EXPECT_STREQ(Initials, "pM");
    EXPECT_EQ(GameState, StateInitials);
    EXPECT_TRUE(RecordedCalls().empty());
    InitialsActive = false;
}

namespace {

// A loop that looks at the clock every millisecond for `ms` from `start`: the frames it runs.
int FramesRun(FramePacer& pacer, uint32_t start, uint32_t ms)
{
    int frames = 0;
    for (uint32_t now = start; now != start + ms; ++now) {
        if (MillisecondsUntilFrame(pacer, now) == 0) {
            FrameRuns(pacer, now);
            ++frames;
        }
    }
    return frames;
}

}  // namespace

TEST(FramePacing, ImplausibleRefreshRatesFallBackToSixtyHertz)
{
    for (uint32_t hz : {0u, 1u, 29u, 501u, 100000u}) {
        EXPECT_EQ(PlausibleRefreshRate(hz), 60u) << hz;
    }
    for (uint32_t hz : {30u, 60u, 75u, 144u, 500u}) {
        EXPECT_EQ(PlausibleRefreshRate(hz), hz);
    }
}

// Sixty frames in each second, across the clock's wrap; a late frame is not made up.
TEST(FramePacing, FramesAreDueARefreshApart)
{
    const uint32_t start = 0xFFFFFE00u;
    FramePacer pacer = StartPacing(60, start);
    EXPECT_EQ(FramesRun(pacer, start, 2000), 120);
    EXPECT_EQ(MillisecondsUntilFrame(pacer, pacer.nextDue - 5), 5u);
    const uint32_t late = pacer.nextDue + 40;
    FrameRuns(pacer, late);
    EXPECT_EQ(MillisecondsUntilFrame(pacer, late), 16u) << "a refresh after the late frame, not at once";
}

// After a mode switch or a display change, the new rate takes over at once, without waiting out
// the old rate's longer refresh; an implausible one means 60 Hz again.
TEST(FramePacing, ANewRefreshRateTakesOverAtOnce)
{
    FramePacer pacer = StartPacing(30, 1000);
    FrameRuns(pacer, 1000);
    ChangeRefreshRate(pacer, 75, 1000);
    EXPECT_EQ(MillisecondsUntilFrame(pacer, 1000), 13u);
    EXPECT_EQ(FramesRun(pacer, 1000, 1000), 75);
    ChangeRefreshRate(pacer, 1, 2000);
    EXPECT_EQ(pacer.refreshHz, 60u);
}
