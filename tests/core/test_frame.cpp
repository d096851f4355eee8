// The frame state machine with a controlled clock, cursor and mouse button; drawing, sounds and
// posted messages are recorded.
#include <algorithm>
#include <utility>

#include "core/game/board.h"
#include "core/game/frame.h"
#include "core/game/frame_state.h"
#include "core/game/high_scores.h"
#include "core/game/keyboard.h"
#include "core/shell/screen.h"
#include "ports/sound.h"
#include "test_support.h"

namespace {

using Calls = std::vector<std::string>;
using Times = std::vector<uint32_t>;

bool Called(const std::string& call)
{
    const Calls calls = RecordedCalls();
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

// The buttons lie at (470, 180), (410, 260) and (470, 338), 100 x 40, the game area at (100, 50).
constexpr int32_t PlayX = 470 + 100 + 10, PlayY = 180 + 50 + 10;
constexpr int32_t ScoresX = 410 + 100 + 5, ScoresY = 260 + 50 + 5;

class Frame : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResetGameState(1, 2);  // the square falling, the S next
        StopAllRecordedSounds();
        ReleaseAllKeys();
        SetDrawResults(ResultOk, ResultOk);
        ScreenOffset = {100, 50};
        const int32_t at[3][2] = {{470, 180}, {410, 260}, {470, 338}};
        for (int i = 0; i < MenuButtonCount; ++i) {
            buttons[i] = {{}, {}, at[i][0], at[i][1], 100, 40, ButtonNormal};
        }
        LoadHighScores();
        SetClock(1000);
        LastFrameTime = 1000;
    }

    ResultCode FrameAt(uint32_t now)
    {
        SetClock(now);
        return UpdateFrame(buttons);
    }

    // A press and, 5 ms later, a release at (x, y); what the release frame gave.
    ResultCode Click(int32_t x, int32_t y, uint32_t now)
    {
        SetMouse(x, y, true);
        FrameAt(now);
        SetMouse(x, y, false);
        ClearRecordedCalls();
        return FrameAt(now + 5);
    }

    // Frames every `step` ms up to `until`: the clock times at which the tetrad moved down.
    Times FallTimes(uint32_t from, uint32_t until, uint32_t step)
    {
        Times times;
        for (uint32_t now = from; now <= until; now += step) {
            const int32_t y = CurrentTetrad.y;
            FrameAt(now);
            if (CurrentTetrad.y != y) {
                times.push_back(now);
            }
        }
        return times;
    }

    MenuButtonSet buttons{};
};

}  // namespace

// Restored surfaces repaint the menu once.
TEST_F(Frame, RestoredSurfacesRepaintTheMenuOnce)
{
    RepaintPending = true;
    FrameAt(1000);
    FrameAt(1010);
    const Calls calls = RecordedCalls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "PostRepaint"), 1);
}

// A click is a release over the pressed button, wherever the press began; the clock moves on it.
TEST_F(Frame, APressMovedOntoAButtonAndReleasedThereClicksIt)
{
    SetMouse(10, 10, true);
    FrameAt(1000);
    SetMouse(ScoresX, ScoresY, true);
    FrameAt(1000);
    EXPECT_TRUE(Called("DrawButton 410 2")) << "pressed picture under the held button";
    SetMouse(ScoresX, ScoresY, false);
    FrameAt(1010);
    EXPECT_EQ(GameState, StateTopFive);
    EXPECT_EQ(LastFrameTime, 1010u) << "the clock moves on clicks";
}

// Quit's last pixel inside posts a close and stays on the menu; its right and bottom edges lie outside.
TEST_F(Frame, QuitPostsACloseAndItsRightAndBottomEdgesAreNoClick)
{
    const struct {
        int32_t x, y;
        uint32_t at;
        Calls calls;
    } releases[] = {{470 + 100 + 100, 338 + 50 + 39, 1015, {}}, {470 + 100 + 99, 338 + 50 + 40, 1030, {}},
        {470 + 100 + 99, 338 + 50 + 39, 1045, {"DrawButton 470 1", "PostClose"}}};
    for (const auto& r : releases) {
        EXPECT_EQ(Click(r.x, r.y, r.at), ResultOk);
        EXPECT_EQ(RecordedCalls(), r.calls) << r.x << "," << r.y;
        EXPECT_EQ(GameState, StateTitleMenu);
    }
}

// Play after an ended game clears the board first; a lost surface drops the click, and the board
// waits for the next Play.
TEST_F(Frame, PlayAfterAnEndedGameStartsOnAnEmptyBoardUnlessTheSurfaceIsLost)
{
    for (const bool lost : {true, false}) {
        SCOPED_TRACE(lost ? "surface lost" : "drawn");
        BoardNeedsClearing = true;
        BoardCell(3, 15) = 4;
        SetDrawResults(ResultOk, lost ? ResultSurfaceLost : ResultOk);
        EXPECT_EQ(Click(PlayX, PlayY, lost ? 1040 : 1060), lost ? ResultSurfaceLost : ResultOk);
        const Calls drawn = {"DrawButton 470 1", "ClearBoardSurface", "SetMusicVolume -500", "PostRepaint"};
        EXPECT_EQ(RecordedCalls(), lost ? (Calls{"DrawButton 470 1", "RestoreSurfaces"}) : drawn);
        EXPECT_EQ(GameState, lost ? StateTitleMenu : StatePlaying);
        EXPECT_EQ(BoardCell(3, 15), lost ? 4 : EmptyCell);
        EXPECT_EQ(BoardNeedsClearing, lost);
    }
}

// A button is drawn when its picture changes, when the screen may have been drawn over, and again
// after a draw that failed.
TEST_F(Frame, MenuButtonsAreDrawnOnlyWhenTheirPictureChanges)
{
    SetMouse(10, 10, false);
    FrameAt(1000);
    FrameAt(1017);
    EXPECT_EQ(RecordedCalls(), (Calls{"DrawButton 470 0", "DrawButton 410 0", "DrawButton 470 0"}));
    ClearRecordedCalls();
    SetMouse(PlayX, PlayY, false);
    FrameAt(1034);
    FrameAt(1051);
    EXPECT_EQ(RecordedCalls(), (Calls{"DrawButton 470 1"}));
    SetMouse(PlayX, PlayY, true);
    buttons[2].shown = ButtonPictureUnknown;
    SetDrawResults(ResultOk, ResultSurfaceLost);
    FrameAt(1068);
    SetDrawResults(ResultOk, ResultOk);
    ClearRecordedCalls();
    FrameAt(1085);
    FrameAt(1102);
    EXPECT_EQ(RecordedCalls(), (Calls{"DrawButton 470 2", "DrawButton 470 0"}));
}

TEST_F(Frame, UntouchedTetradFallsOnceASecondAtLevelOneAndTenTimesFromLevelTen)
{
    GameState = StatePlaying;
    const int32_t spawnRow = CurrentTetrad.y;
    EXPECT_EQ(FallTimes(1001, 3000, 1), (Times{2000, 3000}));
    EXPECT_EQ(CurrentTetrad.y, spawnRow + 2) << "a row each time";
    EXPECT_FALSE(Called("RestoreSurfaces")) << "a plain play frame restores nothing";
    FallSpeed = 1;
    EXPECT_EQ(FallTimes(3010, 3300, 10), (Times{3100, 3200, 3300}));
}

TEST_F(Frame, LockPausesHundredMillisecondsThenResetsKeysThenTestsTheSpawn)
{
    GameState = StatePlaying;
    CurrentTetrad.y = 15;  // the square rests on the floor
    FallTimer = 990;
    FrameAt(1010);
    EXPECT_TRUE(Called("PlayEffect attach 0 0"));
    EXPECT_EQ(BoardCell(5, 15), 1) << "locked";
    EXPECT_EQ(CurrentTetrad.colour, 2) << "the preview became the falling tetrad";
    EXPECT_EQ(NextTetrad.colour, NextKind) << "and a new one is previewed";
    EXPECT_EQ(LastFrameTime, 1000u) << "the locking frame counts no time";

    KeyStates[KeyLeft] = {true, 77, 50};
    ClearRecordedCalls();
    FrameAt(1060);
    FrameAt(1110);
    EXPECT_TRUE(RecordedCalls().empty()) << "no input and no drawing during the pause";
    FrameAt(1111);
    EXPECT_FALSE(KeyStates[KeyLeft].held);
    EXPECT_TRUE(RecordedCalls().empty()) << "the frame that ends the pause only resets the keys";
    SetKeyDown(KeyLeft, true);
    FrameAt(1120);
    EXPECT_TRUE(Called("DrawPlayScreen"));
    EXPECT_EQ(CurrentTetrad.x, 4) << "a held key acts at once";
    EXPECT_EQ(LastFrameTime, 1120u);
}

// A ranking result asks for initials beside its counters, with the static sounding; Enter files
// them, and the top five shows with a burst of static over both screens.
TEST_F(Frame, RankingGameGoesThroughTheInitials)
{
    GameState = StatePlaying;
    Score = 7000;
    Level = 4;
    Lines = 37;
    BoardCell(6, 0) = 0;  // the new tetrad overlaps: the game is over
    CountersDirty = false;
    FrameAt(1010);
    ASSERT_EQ(GameState, StateInitials);
    EXPECT_TRUE(InitialsActive);

    ClearRecordedCalls();
    FrameAt(1020);
    for (const char* call : {"BlitBoardToScreen", "DrawScreenText 480 215 Score: 7000",
             "DrawScreenText 480 230 Level: 4", "DrawScreenText 480 245 Lines: 37",
             "DrawCenteredText 180 You placed #1!", "DrawCenteredText 220      Enter your initials:     ",
             "DrawCenteredText 240                ", "PlayEffect static2 0 1", "DrawStatic 1-"}) {
        EXPECT_TRUE(Called(call)) << call;
    }

    TypeInitial('J');
    TypeInitial(13);  // one initial is enough
    FrameAt(1030);
    EXPECT_EQ(GameState, StateTopFive);
    EXPECT_STREQ(HighScoreTable[0].name, "J");
    EXPECT_EQ(HighScoreTable[0].score, 7000u);
    EXPECT_EQ(Score, 0u) << "the counters start afresh";
    EXPECT_EQ(Level, 1u);
    EXPECT_EQ(Lines, 0u);
    ClearRecordedCalls();
    FallTimer = 0;  // as just after a burst
    const uint32_t burst = LastFrameTime;
    FrameAt(burst + 5);
    EXPECT_TRUE(Called("DrawTopFive"));
    EXPECT_FALSE(Called("DrawStatic 13")) << "5 ms is no burst yet";
    FrameAt(burst + 6);
    EXPECT_TRUE(Called("DrawStatic 13")) << "the static bursts once more than 5 ms gathered";
    EXPECT_FALSE(Called("PlayEffect static2 0 1")) << "the static that sounds goes on";
    SetSoundPlaying(Static2Sound, false);
    FrameAt(1050);
    EXPECT_TRUE(Called("PlayEffect static2 0 1")) << "the top five keeps the static sounding";
}

// The rest of 10 ms carries over to the next frame; a stall is not made up roll by roll.
TEST_F(Frame, InterferenceIsRolledPerTenMillisecondsOfPlayNotPerFrame)
{
    GameState = StatePlaying;
    const std::pair<uint32_t, uint32_t> frames[] = {{1004, 0}, {1009, 0}, {1026, 2}, {1030, 1}, {1500, 4}, {1509, 0}};
    for (const auto& frame : frames) {
        FrameAt(frame.first);
        EXPECT_EQ(InterferenceRollsDue(), frame.second) << "at " << frame.first;
    }
    EXPECT_EQ(GhostTimer, 509u) << "the ghost's blink gathers the same play time";
}
