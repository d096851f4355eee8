// The repaint of each screen state, shared by the back ends: what it draws, in which order.
#include <algorithm>

#include "core/game/board.h"
#include "core/game/frame.h"
#include "core/game/frame_state.h"
#include "core/game/high_scores.h"
#include "core/shell/repaint.h"
#include "test_support.h"

using Calls = std::vector<std::string>;

class Repaint : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResetGameState(1, 2);
        LoadHighScores();
        ClearRecordedCalls();
    }
    MenuButtonSet buttons{};
};

// A pause repaints the screen it paused and lays the controls over it.
TEST_F(Repaint, EachStateDrawsItsWholeScreen)
{
    const struct {
        int32_t state;
        int32_t paused;
        Calls calls;
    } cases[] = {
        {StateTitleMenu, StateTitleMenu, {"DrawTitleScreen"}},
        {StatePlaying, StateTitleMenu, {"DrawBackground", "DrawPlayScreen"}},
        {StateTopFive, StateTitleMenu, {"DrawBackground"}},
        {StatePaused, StateTitleMenu, {"DrawTitleScreen", "DrawControlsScreen"}},
        {StatePaused, StatePlaying, {"DrawBackground", "DrawPlayScreen", "DrawControlsScreen"}},
        {StatePaused, StateTopFive, {"DrawBackground", "DrawControlsScreen"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.state) + " " + std::to_string(c.paused));
        GameState = c.state;
        PausedState = c.paused;
        CountersDirty = false;
        ClearRecordedCalls();
        RepaintCurrentScreen(buttons);
        EXPECT_EQ(RecordedCalls(), c.calls);
        EXPECT_EQ(CountersDirty, c.calls[0] == "DrawBackground");
    }
}

// The initials screen is drawn by a frame of its own: the board, the counters and the prompt.
TEST_F(Repaint, InitialsRedrawTheBackgroundCountersAndPrompt)
{
    GameState = StateInitials;
    InitialsActive = true;
    Score = 6000;
    RepaintCurrentScreen(buttons);
    const Calls calls = RecordedCalls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0], "DrawBackground");
    EXPECT_EQ(calls[1], "BlitBoardToScreen");
    EXPECT_NE(std::find(calls.begin(), calls.end(), "DrawScreenText 480 215 Score: 6000"), calls.end());
    EXPECT_NE(std::find(calls.begin(), calls.end(), "DrawCenteredText 180 You placed #1!"), calls.end());
    EXPECT_FALSE(PromptDirty);
}
