// The shell's decisions: the command line, the window size, the keys, the pause and the frame
// schedule.
#include "app/frame_pacing.h"
#include "app/shell.h"
#include "audio/effects.h"
#include "game/frame_state.h"
#include "game/high_scores.h"
#include "test_support.h"

using Calls = std::vector<std::string>;

TEST(CommandLine, OnlyTheWholeWordFullInAnyCase)
{
    EXPECT_TRUE(IsFullScreenCommandLine("/full"));
    EXPECT_TRUE(IsFullScreenCommandLine("/FULL"));
    EXPECT_TRUE(IsFullScreenCommandLine("/fUlL"));
    EXPECT_FALSE(IsFullScreenCommandLine(""));
    EXPECT_FALSE(IsFullScreenCommandLine("/full "));
    EXPECT_FALSE(IsFullScreenCommandLine("/full now"));
    EXPECT_FALSE(IsFullScreenCommandLine("/ful"));
    EXPECT_FALSE(IsFullScreenCommandLine(" /full"));
    EXPECT_FALSE(IsFullScreenCommandLine("-full"));
}

TEST(WindowSizing, ClientAreaIsAlwaysTheGameArea)
{
    const FrameMetrics frame = {4, 4, 23};
    EXPECT_EQ(WindowSizeFor(false, frame).width, 648);
    EXPECT_EQ(WindowSizeFor(false, frame).height, 511);
    EXPECT_EQ(WindowSizeFor(true, frame).width, 640);
    EXPECT_EQ(WindowSizeFor(true, frame).height, 480);
}

namespace {

class Keys : public ::testing::Test {
protected:
    void SetUp() override
    {
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

TEST_F(Keys, EscapeQAndF2LeaveAGameForTheMenu)
{
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

TEST_F(Keys, PauseShowsTheControlsAndEndsByKeyOrClick)
{
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

TEST_F(Keys, MSwitchesTheMusicAndF6TheDisplay)
{
    HandleKeyDown(KeyM);
    EXPECT_FALSE(MusicEnabled);
    HandleKeyDown(KeyM);
    EXPECT_TRUE(MusicEnabled);
    HandleKeyDown(KeyF6);
    HandleKeyDown('X');
    EXPECT_EQ(RecordedCalls(), (Calls{"PauseMusic", "ResumeMusic", "SwitchDisplayMode"}));
}

// Keys that a loader's box lets through reach no half-built game.
TEST_F(Keys, KeysDuringStartUpDoNothing)
{
    GameStarted = false;
    GameState = StateTitleMenu;
    for (uint32_t key : {KeyF6, KeyM, KeyF1, KeyEscape}) {
        HandleKeyDown(key);
    }
    EXPECT_TRUE(RecordedCalls().empty());
    EXPECT_TRUE(MusicEnabled);
    EXPECT_EQ(GameState, StateTitleMenu);
}

TEST_F(Keys, TypingInitialsTakesEveryKey)
{
    GameState = StateInitials;
    InitialsActive = true;
    HandleKeyDown(KeyF1);   // F1's code is the letter p
    HandleKeyDown(KeyEscape);
    HandleKeyDown(KeyM);
    EXPECT_STREQ(Initials, "pM");
    EXPECT_EQ(GameState, StateInitials);
    EXPECT_TRUE(RecordedCalls().empty());
}

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
