// Key repeat and the device's failures, in whole frames.
#include <vector>

#include "audio/effects.h"
#include "game/board.h"
#include "game/keyboard.h"
#include "test_support.h"

namespace {

class Keyboard : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ClearBoard();
        InitTetradTable();
        SetCurrentTetrad(1);   // the square: room to move both ways
        ReleaseAllKeys();
        for (KeyState& state : KeyStates) {
            state = {false, 0, 0};
        }
    }

    // Frames of `step` ms while the key is held; the times (from the press) at which it acted.
    std::vector<uint32_t> HoldLeft(uint32_t frames, uint32_t step)
    {
        std::vector<uint32_t> actions;
        SetKeyDown(KeyLeft, true);
        for (uint32_t frame = 0; frame < frames; ++frame) {
            CurrentTetrad.x = 5;
            ProcessKBInput(frame == 0 ? 0 : step);
            if (CurrentTetrad.x == 4) {
                actions.push_back(frame * step);
            }
        }
        return actions;
    }
};

}  // namespace

TEST_F(Keyboard, HeldKeyRepeatsFasterDownToEveryThirtyMilliseconds)
{
    // 10 ms frames: acts at 0, once more than 140 ms have passed, then every 110, 80, 50, 30 ms:
    // the 10 ms by which the first delay was passed count towards the next.
    EXPECT_EQ(HoldLeft(60, 10), (std::vector<uint32_t>{0, 150, 260, 340, 390, 420, 450, 480, 510, 540, 570}));
}

TEST_F(Keyboard, SlowFramesActAtMostOncePerFrame)
{
    EXPECT_EQ(HoldLeft(10, 100), (std::vector<uint32_t>{0, 200, 300, 400, 500, 600, 700, 800, 900}));
}

TEST_F(Keyboard, LeftAndRightTogetherCancel)
{
    SetKeyDown(KeyLeft, true);
    SetKeyDown(KeyRight, true);
    ProcessKBInput(0);
    EXPECT_EQ(CurrentTetrad.x, 5);
    CurrentTetrad.x = 0;   // against the wall the left move is refused, the right one is not
    ProcessKBInput(200);
    EXPECT_EQ(CurrentTetrad.x, 1);
}

TEST_F(Keyboard, ReleaseAndResetStartOver)
{
    SetKeyDown(KeySpace, true);
    ProcessKBInput(0);
    EXPECT_EQ(KeyStates[KeySpace].delay, 300u);
    SetKeyDown(KeySpace, false);
    ProcessKBInput(10);
    EXPECT_FALSE(KeyStates[KeySpace].held);

    SetKeyDown(KeyDown, true);
    ProcessKBInput(0);
    ProcessKBInput(130);
    EXPECT_EQ(KeyStates[KeyDown].delay, 90u);
    ResetKeyStates();
    EXPECT_EQ(KeyStates[KeyDown].delay, 120u);
    EXPECT_FALSE(KeyStates[KeyDown].held);
    const int32_t y = CurrentTetrad.y;
    ProcessKBInput(5);
    EXPECT_EQ(CurrentTetrad.y, y + 1) << "a key held through the reset acts at once";
}

TEST_F(Keyboard, OtherKeysDoNothing)
{
    const Tetrad before = CurrentTetrad;
    DoKeyAction(1);
    DoKeyAction(KeyLeft + 1);
    EXPECT_EQ(CurrentTetrad.x, before.x);
    EXPECT_EQ(CurrentTetrad.y, before.y);
}

TEST_F(Keyboard, UnknownReadErrorSkipsTheFrame)
{
    SetKeyDown(KeyLeft, true);
    QueueKeyboardResults({ResultFail}, {});
    ProcessKBInput(0);
    EXPECT_EQ(CurrentTetrad.x, 5);
    EXPECT_EQ(ReadDebugLog(), std::vector<std::string>{"Unknown DI error while reacquiring"});
}

TEST_F(Keyboard, LostDeviceThatCannotBeAcquiredSkipsTheFrame)
{
    SetKeyDown(KeyLeft, true);
    QueueKeyboardResults({ResultInputLost}, {ResultOk, ResultFail});
    ProcessKBInput(0);
    EXPECT_EQ(CurrentTetrad.x, 5);
    EXPECT_EQ(ReadDebugLog(), std::vector<std::string>{"Failed to acquire input during ProcessKBInput"});
}

// After a recovered loss the keys come from a fresh read, never from what the failed read left.
TEST_F(Keyboard, RecoveredDeviceActsOnlyOnAFreshRead)
{
    QueueKeyboardResults({ResultNotAcquired, ResultInputLost}, {});
    ProcessKBInput(0);
    EXPECT_EQ(CurrentTetrad.x, 5) << "both reads failed: no key acted";
    EXPECT_FALSE(KeyStates[KeyLeft].held);

    SetKeyDown(KeyRight, true);
    QueueKeyboardResults({ResultInputLost, ResultOk}, {});
    ProcessKBInput(0);
    EXPECT_EQ(CurrentTetrad.x, 6);
    EXPECT_TRUE(ReadDebugLog().empty());
}
