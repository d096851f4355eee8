// The frame state machine with a controlled clock, cursor and mouse button; drawing, sounds and
// posted messages are recorded.
#include <algorithm>
#include <string>
#include <tuple>

#include "audio/effects.h"
#include "drawing/menu_button.h"
#include "game/board.h"
#include "game/frame.h"
#include "game/frame_state.h"
#include "game/high_scores.h"
#include "game/keyboard.h"
#include "platform/screen.h"
#include "game_state.h"
#include "test_support.h"

namespace {

using Calls = std::vector<std::string>;

bool Called(const std::string& call) {
    const Calls calls = RecordedCalls();
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

class Frame : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        ResetGameState();
        StopAllRecordedSounds();
        ReleaseAllKeys();
        SetDrawResults(ResultOk, ResultOk);
        ScreenOffset = {100, 50};
        const int32_t places[3][2] = {{470, 180}, {410, 260}, {470, 338}};
        for (int i = 0; i < MenuButtonCount; ++i) {
            MenuButtons[i] = {{}, {}, places[i][0], places[i][1], 100, 40, ButtonNormal};
        }
        LoadHighScores();
        Start(1000);
    }

    void Start(uint32_t now) {
        SetClock(now);
        LastFrameTime = now;
    }

    MenuButtonSet MenuButtons{};

    ResultCode FrameAt(uint32_t now) {
        SetClock(now);
        return UpdateFrame(MenuButtons);
    }

    // Plays frames every `step` ms from the last frame until `until`; the clock times at which
    // the tetrad moved down.
    std::vector<uint32_t> FallTimes(uint32_t from, uint32_t until, uint32_t step) {
        std::vector<uint32_t> times;
        for (uint32_t now = from; now <= until; now += step) {
            const int32_t y = CurrentTetrad.y;
            FrameAt(now);
            if (CurrentTetrad.y != y) {
                times.push_back(now);
            }
        }
        return times;
    }

    // The Play button in screen coordinates.
    int32_t PlayX() const { return 470 + 100 + 10; }
    int32_t PlayY() const { return 180 + 50 + 10; }
};

}  // namespace

// A click is a release over the button that was pressed; where the press began does not matter,
// and a press that slides off (the edges are half open) is no click.
TEST_F(Frame, ClickIsAReleaseOverThePressedButton) {
    RepaintPending = true;   // restored surfaces repaint the menu once
    SetMouse(0, 0, false);
    FrameAt(1000);
    FrameAt(1000);
    const Calls calls = RecordedCalls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "PostRepaint"), 1);

    SetMouse(PlayX(), PlayY(), true);
    FrameAt(1000);
    SetMouse(470 + 100 + 100, 180 + 50, true);   // one past the right edge
    FrameAt(1010);
    EXPECT_EQ(MenuButtons[0].state, ButtonNormal);
    SetMouse(470 + 100 + 100, 180 + 50, false);
    FrameAt(1020);
    SetMouse(470 + 100, 180 + 50 + 39, false);   // the top-left corner and the last row are inside
    FrameAt(1030);
    EXPECT_EQ(GameState, StateTitleMenu);
    EXPECT_EQ(MenuButtons[0].state, ButtonHover);

    SetMouse(10, 10, true);
    FrameAt(1040);
    SetMouse(PlayX(), PlayY(), true);
    ClearRecordedCalls();
    FrameAt(1050);
    EXPECT_TRUE(Called("DrawButton 470 2")) << "pressed picture under the held button";
    SetMouse(PlayX(), PlayY(), false);
    ClearRecordedCalls();
    FrameAt(1500);
    EXPECT_EQ(GameState, StatePlaying);
    EXPECT_EQ(LastFrameTime, 1500u) << "the title menu moved the clock only on the click";
    EXPECT_EQ(RecordedCalls(), (Calls{"DrawButton 470 1", "SetMusicVolume -500", "PostRepaint"}));
}

TEST_F(Frame, ScoresQuitALostSurfaceAndPlayAfterAnEndedGame) {
    const auto click = [this](int32_t x, int32_t y, uint32_t now) {
        SetMouse(x, y, true);
        FrameAt(now);
        SetMouse(x, y, false);
        ClearRecordedCalls();
        return FrameAt(now + 5);
    };
    click(410 + 100 + 5, 260 + 50 + 5, 1000);
    EXPECT_EQ(GameState, StateTopFive);

    GameState = StateTitleMenu;
    click(470 + 100 + 99, 338 + 50 + 39, 1020);
    EXPECT_TRUE(Called("PostClose"));
    EXPECT_EQ(GameState, StateTitleMenu);

    BoardNeedsClearing = true;
    BoardCell(3, 15) = 4;
    SetDrawResults(ResultOk, ResultSurfaceLost);
    EXPECT_EQ(click(PlayX(), PlayY(), 1040), ResultSurfaceLost);
    EXPECT_TRUE(Called("RestoreSurfaces"));
    EXPECT_EQ(GameState, StateTitleMenu) << "the click is dropped";
    EXPECT_EQ(BoardCell(3, 15), 4);

    SetDrawResults(ResultOk, ResultOk);
    click(PlayX(), PlayY(), 1060);
    EXPECT_EQ(GameState, StatePlaying);
    EXPECT_EQ(BoardCell(3, 15), EmptyCell);
    EXPECT_TRUE(Called("ClearBoardSurface"));
    EXPECT_FALSE(BoardNeedsClearing);
}

TEST_F(Frame, UntouchedTetradFallsOnceASecondAtLevelOneAndTenTimesFromLevelTen) {
    GameState = StatePlaying;
    EXPECT_EQ(FallTimes(1010, 3000, 10), (std::vector<uint32_t>{2000, 3000}));
    EXPECT_FALSE(Called("RestoreSurfaces")) << "a plain play frame restores nothing";
    FallSpeed = 1;
    EXPECT_EQ(FallTimes(3010, 3300, 10), (std::vector<uint32_t>{3100, 3200, 3300}));
}

TEST_F(Frame, LockPausesHundredMillisecondsThenResetsKeysThenTestsTheSpawn) {
    GameState = StatePlaying;
    CurrentTetrad.y = 15;   // the square rests on the floor
    FallTimer = 990;
    FrameAt(1010);
    EXPECT_EQ(BoardCell(5, 15), 1);
    EXPECT_TRUE(Called("PlayEffect attach 0 0"));
    EXPECT_EQ(CurrentTetrad.colour, 2) << "the preview became the falling tetrad";
    EXPECT_EQ(LastFrameTime, 1000u);

    KeyStates[KeyLeft] = {true, 77, 50};
    ClearRecordedCalls();
    FrameAt(1060);
    FrameAt(1110);
    EXPECT_TRUE(RecordedCalls().empty()) << "no input and no drawing during the pause";
    FrameAt(1111);
    EXPECT_FALSE(KeyStates[KeyLeft].held);
    EXPECT_TRUE(RecordedCalls().empty()) << "the frame that ends the pause only resets the keys";

    FrameAt(1120);
    EXPECT_TRUE(Called("DrawPlayScreen"));
    EXPECT_EQ(LastFrameTime, 1120u);
}

TEST_F(Frame, GameThatDoesNotRankGoesStraightToTheTopFive) {
    GameState = StatePlaying;
    Score = 900;
    Level = 3;
    Lines = 25;
    FallSpeed = 8;
    BoardCell(5, 1) = 0;   // the spawned square overlaps
    FrameAt(1010);
    EXPECT_EQ(std::tie(GameState, Score, Level, Lines, FallSpeed, BoardNeedsClearing),
              std::make_tuple(StateTopFive, 0u, 1u, 0u, 10u, true));
    EXPECT_TRUE(Called("BlitBoardToScreen"));
}

TEST_F(Frame, RankingGameGoesThroughTheInitials) {
    GameState = StatePlaying;
    Score = 7000;
    Level = 4;
    Lines = 37;
    BoardCell(6, 0) = 0;
    FrameAt(1010);
    ASSERT_EQ(GameState, StateInitials);
    EXPECT_TRUE(InitialsActive);

    ClearRecordedCalls();
    FrameAt(1020);
    EXPECT_EQ(RecordedCalls(),
              (Calls{"BlitBoardToScreen", "DrawScreenText 480 215 Score: 7000", "DrawScreenText 480 230 Level: 4",
                     "DrawScreenText 480 245 Lines: 37", "DrawCenteredText 180 You placed #1!",
                     "DrawCenteredText 220      Enter your initials:     ", "DrawCenteredText 240                ",
                     "DrawCenteredText 240 ", "SoundIsPlaying static2", "PlayEffect static2 0 1", "DrawStatic 1-"}));

    TypeInitial('J');
    TypeInitial('O');
    TypeInitial(13);
    FrameAt(1030);
    EXPECT_STREQ(HighScoreTable[0].name, "JO");
    EXPECT_EQ(std::tie(GameState, HighScoreTable[0].score, Score, CountersDirty),
              std::make_tuple(StateTopFive, 7000u, 0u, true));
}

TEST_F(Frame, TopFiveKeepsItsNoiseAndStatic) {
    GameState = StateTopFive;
    CountersDirty = true;
    FrameAt(1003);
    EXPECT_EQ(RecordedCalls(), (Calls{"SoundIsPlaying static2", "PlayEffect static2 0 1", "BlitBoardToScreen",
                                      "DrawTopFive"}));
    ClearRecordedCalls();
    FrameAt(1006);
    EXPECT_EQ(RecordedCalls(), (Calls{"SoundIsPlaying static2", "DrawStatic 13"}));
    EXPECT_EQ(LastFrameTime, 1006u);
}

TEST_F(Frame, ClockWrapAroundKeepsTimingRight) {
    GameState = StatePlaying;
    Start(0xFFFFFE00u);
    FrameAt(0x00000200u);   // 1024 ms later, across the wrap
    EXPECT_EQ(CurrentTetrad.y, 2);

    CurrentTetrad.y = 15;
    FallTimer = 1000;
    Start(0xFFFFFFB0u);
    FrameAt(0xFFFFFFC0u);
    ASSERT_EQ(LockPauseStart, 0xFFFFFFC0u);
    FrameAt(0x00000010u);   // 80 ms into the pause
    EXPECT_NE(LockPauseStart, 0u);
    FrameAt(0x00000030u);   // 112 ms: the pause is over
    EXPECT_EQ(LockPauseStart, 0u);
}

// The rest of 10 ms carries over to the next frame; a stall is not made up roll by roll.
TEST_F(Frame, InterferenceIsRolledPerTenMillisecondsOfPlayNotPerFrame) {
    GameState = StatePlaying;
    InterferenceTimer = 0;
    const std::pair<uint32_t, uint32_t> frames[] = {{1004, 0}, {1009, 0}, {1026, 2}, {1030, 1}, {1500, 4}, {1509, 0}};
    for (const auto& frame : frames) {
        FrameAt(frame.first);
        EXPECT_EQ(InterferenceRollsDue(), frame.second) << "at " << frame.first;
    }
}
