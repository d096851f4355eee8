// frame_pacing.h -- when the message loop runs the next frame: once per refresh of the display,
// on a fixed schedule, so the game idles between frames instead of running them back to back.
#pragma once

#include <cstdint>

constexpr uint32_t FallbackRefreshHz = 60;

// The rate the display reports when it is plausible; else 60 Hz (0 and 1 mean "the default").
uint32_t PlausibleRefreshRate(uint32_t reportedHz);

struct FramePacer {
    uint32_t refreshHz;
    uint32_t nextDue;    // clock value (ms) at which the next frame is due
    uint32_t remainder;  // the fraction of a millisecond the schedule owes, in 1/refreshHz ms
};

FramePacer StartPacing(uint32_t refreshHz, uint32_t now);

// The display now reports `reportedHz` (another mode, another display): frames follow that rate
// from now on, and the next one is due no later than a refresh of the new rate from `now`.
void ChangeRefreshRate(FramePacer& pacer, uint32_t reportedHz, uint32_t now);

// Milliseconds until the next frame is due; 0 when it is due now or overdue.
uint32_t MillisecondsUntilFrame(const FramePacer& pacer, uint32_t now);

// A frame runs at `now`: the next one is due a refresh after this one's due time. A frame more
// than a refresh late (the window was busy, the sparks ran) starts the schedule afresh, so lost
// frames are not made up in a burst.
void FrameRuns(FramePacer& pacer, uint32_t now);
