// Key repeat in whole frames, and the device's failures.
#include <cstring>

#include "core/common/result_codes.h"
#include "core/game/board.h"
#include "core/game/frame.h"
#include "core/game/keyboard.h"
#include "test_support.h"

namespace {

using Times = std::vector<uint32_t>;

class Keyboard : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResetGameState(0, 2);  // the T falls: room to move, fall and turn
        start = CurrentTetrad;
        ReleaseAllKeys();
    }

    // Frames of `step` ms while `key` is held; the times (from the press) at which it acted.
    Times Hold(uint8_t key, uint32_t frames, uint32_t step)
    {
        Times actions;
        SetKeyDown(key, true);
        for (uint32_t frame = 0; frame < frames; ++frame) {
            CurrentTetrad = start;
            ProcessKBInput(frame == 0 ? 0 : step);
            if (std::memcmp(&CurrentTetrad, &start, sizeof start) != 0) {
                actions.push_back(frame * step);
            }
        }
        return actions;
    }

    Tetrad start;
};

}  // namespace

// A key acts at once, once more than its first delay has passed, then 30 ms sooner each time down
// to every 30 ms; the time by which a delay was passed counts towards the next; a slow frame
// acts at most once.
TEST_F(Keyboard, HeldKeyRepeatsFasterInWholeFrames)
{
    const struct {
        uint8_t key;
        uint32_t frames;
        uint32_t step;
        Times actions;
    } cases[] = {
        {KeyLeft, 60, 10, {0, 150, 260, 340, 390, 420, 450, 480, 510, 540, 570}},
        {KeyLeft, 10, 100, {0, 200, 300, 400, 500, 600, 700, 800, 900}},
        {KeyLeft, 412, 1, {0, 141, 251, 331, 381, 411}},
        {KeyDown, 122, 1, {0, 121}},
        {KeySpace, 302, 1, {0, 301}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << int{c.key} << ", " << c.step << " ms frames");
        ReleaseAllKeys();
        ProcessKBInput(0);
        EXPECT_EQ(Hold(c.key, c.frames, c.step), c.actions);
    }
}

// A failed read scribbles over the snapshot: after a loss the keys come from a fresh read only.
TEST_F(Keyboard, DeviceFailuresSkipTheFrameOrReadAgain)
{
    const struct {
        const char* what;
        std::vector<ResultCode> reads, acquires;
        int32_t x;
        std::vector<std::string> log;
    } cases[] = {
        {"read refused", {ResultFail}, {}, 5, {"Unknown DI error while reacquiring"}},
        {"lost, acquire refused", {ResultInputLost}, {ResultOk, ResultFail}, 5,
            {"Failed to acquire input during ProcessKBInput"}},
        {"lost, read again refused", {ResultNotAcquired, ResultInputLost}, {}, 5, {}},
        {"lost, read again", {ResultInputLost, ResultOk}, {}, 6, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::remove(".\\debug.log");
        ResetGameState(0, 2);
        ReleaseAllKeys();
        SetKeyDown(KeyRight, true);
        CurrentTetrad = start;
        QueueKeyboardResults(c.reads, c.acquires);
        ProcessKBInput(0);
        EXPECT_EQ(CurrentTetrad.x, c.x);
        EXPECT_EQ(CurrentTetrad.y, start.y);
        EXPECT_EQ(ReadDebugLog(), c.log);
    }
}
