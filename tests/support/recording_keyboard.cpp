// recording_keyboard.cpp -- a keyboard device whose keys and failures the test scripts.
#include <cstring>
#include <deque>

#include "game/keyboard_device.h"
#include "test_support.h"

namespace {
uint8_t Keys[KeySnapshotSize];
std::deque<ResultCode> ReadResults;
std::deque<ResultCode> AcquireResults;
}  // namespace

void SetKeyDown(uint8_t code, bool down)
{
    Keys[code] = down ? 0x80 : 0x00;
}

void ReleaseAllKeys()
{
    std::memset(Keys, 0, sizeof Keys);
    ReadResults.clear();
    AcquireResults.clear();
}

void QueueKeyboardResults(std::initializer_list<ResultCode> reads, std::initializer_list<ResultCode> acquires)
{
    ReadResults.insert(ReadResults.end(), reads);
    AcquireResults.insert(AcquireResults.end(), acquires);
}

ResultCode AcquireKeyboard()
{
    if (AcquireResults.empty()) {
        return ResultOk;
    }
    const ResultCode result = AcquireResults.front();
    AcquireResults.pop_front();
    return result;
}

// A failed read scribbles over the snapshot, so code that acts on it anyway is caught.
ResultCode ReadKeyboardState(uint8_t (&snapshot)[KeySnapshotSize])
{
    ResultCode result = ResultOk;
    if (!ReadResults.empty()) {
        result = ReadResults.front();
        ReadResults.pop_front();
    }
    if (result < 0) {
        std::memset(snapshot, 0xFF, KeySnapshotSize);
        return result;
    }
    std::memcpy(snapshot, Keys, KeySnapshotSize);
    return result;
}
