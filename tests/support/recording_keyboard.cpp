// recording_keyboard.cpp -- a keyboard device whose keys and failures the test scripts.
#include <cstring>
#include <deque>

#include "ports/keyboard_device.h"
#include "test_support.h"

namespace {
// Only the high bit of a key's byte says it is down: up keys carry noise in the low bits.
constexpr uint8_t Up = 0x7F;
uint8_t Keys[KeySnapshotSize];
std::deque<ResultCode> ReadResults;
std::deque<ResultCode> AcquireResults;

ResultCode Next(std::deque<ResultCode>& results)
{
    if (results.empty()) {
        return ResultOk;
    }
    const ResultCode result = results.front();
    results.pop_front();
    return result;
}
}  // namespace

void SetKeyDown(uint8_t code, bool down)
{
    Keys[code] = down ? 0x80 : Up;
}

void ReleaseAllKeys()
{
    std::memset(Keys, Up, sizeof Keys);
    ReadResults.clear();
    AcquireResults.clear();
}

void QueueKeyboardResults(const std::vector<ResultCode>& reads, const std::vector<ResultCode>& acquires)
{
    ReadResults.insert(ReadResults.end(), reads.begin(), reads.end());
    AcquireResults.insert(AcquireResults.end(), acquires.begin(), acquires.end());
}

ResultCode AcquireKeyboard()
{
    return Next(AcquireResults);
}

// A failed read scribbles over the snapshot, so code that acts on it anyway is caught.
ResultCode ReadKeyboardState(uint8_t (&snapshot)[KeySnapshotSize])
{
    const ResultCode result = Next(ReadResults);
    std::memset(snapshot, 0xFF, KeySnapshotSize);
    if (result >= 0) {
        std::memcpy(snapshot, Keys, KeySnapshotSize);
    }
    return result;
}
