// The shell's decisions: the command line, the window size, the keys, the pause and the frame
// schedule.
#include "app/frame_pacing.h"
#include "app/shell.h"
#include "audio/effects.h"
#include "game/frame_state.h"
#include "game/high_scores.h"
#include "platform/screen.h"
#include "test_support.h"

using Calls = std::vector<std::string>;

TEST(CommandLine, OnlyTheWholeWordFullInAnyCase) {
    for (const char* full : {"/full", "/FULL", "/fUlL"}) {
        EXPECT_TRUE(IsFullScreenCommandLine(full)) << full;
    }
    for (const char* windowed : {"", "/full ", "/full now", "/ful", " /full", "-full"}) {
        EXPECT_FALSE(IsFullScreenCommandLine(windowed)) << windowed;
    }
}

// The captioned window is sized so that its client area is the game area, and the game area is
// drawn at the client origin; in full screen both are the screen's corner.
TEST(WindowGeometry, TheGameAreaIsTheClientArea) {
    WindowFrame = {4, 5, 23};
    WindowRectangle = {30, 40, 0, 0};
    for (const bool full : {false, true}) {
        FullScreen = full;
        const WindowSize size = WindowSizeFor(full, WindowFrame);
        const ScreenPoint origin = ComputeScreenOffset();
        EXPECT_EQ(size.width, full ? 640 : 648);
        EXPECT_EQ(size.height, full ? 480 : 513);
        EXPECT_EQ(origin.x, full ? 0 : 34);
        EXPECT_EQ(origin.y, full ? 0 : 68);
    }
    FullScreen = false;
}

namespace {

class Keys : public ::testing::Test {
protected:
    void SetUp() override {
        ClearRecordedCalls();
        StopAllRecordedSounds();
        InitialsActive = false;
        Initials[0] = '\0';
        MusicEnabled = true;
        GameStarted = true;
        GameState = StatePlaying;
        PausedState = StateTitleMenu;
    }
};

}  // namespace

TEST_F(Keys, EscapeQAndF2LeaveAGameForTheMenu) {
    for (uint32_t key : {KeyEscape, KeyQ, KeyF2}) {
        GameState = StateTopFive;
        SetSoundPlaying(Static2Sound, true);
        ClearRecordedCalls();
        HandleKeyDown(key);
        EXPECT_EQ(GameState, StateTitleMenu);
        EXPECT_EQ(RecordedCalls(), (Calls{"SoundIsPlaying static2", "StopSound static2", "SetMusicVolume 0",
                                          "PostRepaint"}));
    }
    ClearRecordedCalls();
    HandleKeyDown(KeyEscape);
    EXPECT_EQ(RecordedCalls(), Calls{"PostRepaint"}) << "on the menu only a repaint";
}

TEST_F(Keys, PauseShowsTheControlsAndEndsByKeyOrClick) {
    HandleKeyDown(KeyF1);
    EXPECT_EQ(GameState, StatePaused);
    EXPECT_EQ(PausedState, StatePlaying);
    EXPECT_EQ(RecordedCalls(), Calls{"DrawControlsScreen"});

    ClearRecordedCalls();
    HandleKeyDown(KeyF1);
    EXPECT_TRUE(RecordedCalls().empty()) << "F1 while paused changes nothing";
    EXPECT_EQ(PausedState, StatePlaying);

    HandleKeyDown(KeyEscape);
    EXPECT_EQ(GameState, StatePlaying) << "Escape while paused resumes, it does not leave";
    EXPECT_EQ(RecordedCalls(), Calls{"PostRepaint"});

    HandleKeyDown(KeyF1);
    ClearRecordedCalls();
    HandleLeftButtonUp();
    EXPECT_EQ(GameState, StatePlaying);
    EXPECT_EQ(RecordedCalls(), Calls{"PostRepaint"});
    ClearRecordedCalls();
    HandleLeftButtonUp();
    EXPECT_TRUE(RecordedCalls().empty());
}

// Keys that a loader's box lets through reach no half-built game.
TEST_F(Keys, MSwitchesTheMusicAndF6TheDisplayOnceStarted) {
    for (const bool started : {false, true}) {
        GameStarted = started;
        GameState = StateTitleMenu;
        ClearRecordedCalls();
        for (uint32_t key : {KeyF6, KeyM, KeyM, KeyF1, KeyEscape}) {
            HandleKeyDown(key);
        }
        EXPECT_EQ(RecordedCalls(), started ? (Calls{"SwitchDisplayMode", "PauseMusic", "ResumeMusic",
                                                    "DrawControlsScreen", "PostRepaint"})
                                           : Calls{});
        EXPECT_TRUE(MusicEnabled);
        EXPECT_EQ(GameState, StateTitleMenu);
    }
}

TEST_F(Keys, TypingInitialsTakesEveryKey) {
    GameState = StateInitials;
    InitialsActive = true;
    HandleKeyDown(KeyF1);   // F1's code is the letter p
    HandleKeyDown(KeyEscape);
    HandleKeyDown(KeyM);
    EXPECT_STREQ(Initials, "pM");
    EXPECT_EQ(GameState, StateInitials);
    EXPECT_TRUE(RecordedCalls().empty());
}

TEST(FramePacing, ImplausibleRefreshRatesFallBackToSixtyHertz) {
    for (uint32_t hz : {0u, 1u, 29u, 501u, 100000u}) {
        EXPECT_EQ(PlausibleRefreshRate(hz), 60u) << hz;
    }
    for (uint32_t hz : {30u, 60u, 75u, 144u, 500u}) {
        EXPECT_EQ(PlausibleRefreshRate(hz), hz);
    }
}

// Sixty frames in each second, across the clock's wrap; a late frame is not made up.
TEST(FramePacing, FramesAreDueARefreshApart) {
    const uint32_t start = 0xFFFFFE00u;
    FramePacer pacer = StartPacing(60, start);
    int frames = 0;
    for (uint32_t ms = 0; ms < 2000; ++ms) {
        if (MillisecondsUntilFrame(pacer, start + ms) == 0) {
            FrameRuns(pacer, start + ms);
            ++frames;
        }
    }
    EXPECT_EQ(frames, 120);
    EXPECT_EQ(MillisecondsUntilFrame(pacer, pacer.nextDue - 5), 5u);
    const uint32_t late = pacer.nextDue + 40;
    FrameRuns(pacer, late);
    EXPECT_EQ(MillisecondsUntilFrame(pacer, late), 16u) << "a refresh after the late frame, not at once";
}
