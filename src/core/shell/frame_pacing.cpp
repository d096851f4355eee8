// frame_pacing.cpp -- the frame schedule: due times a refresh apart, exact over a second.
#include "core/shell/frame_pacing.h"

namespace {
constexpr uint32_t LowestPlausibleHz = 30;
constexpr uint32_t HighestPlausibleHz = 500;

// Clock values wrap around: a positive distance means `later` is still ahead of `now`.
int32_t Ahead(uint32_t later, uint32_t now)
{
    return static_cast<int32_t>(later - now);
}

void Advance(FramePacer& pacer)
{
    pacer.nextDue += 1000 / pacer.refreshHz;
    pacer.remainder += 1000 % pacer.refreshHz;
    if (pacer.remainder >= pacer.refreshHz) {
        pacer.remainder -= pacer.refreshHz;
        pacer.nextDue += 1;
    }
}
}  // namespace

uint32_t PlausibleRefreshRate(uint32_t reportedHz)
{
    return reportedHz >= LowestPlausibleHz && reportedHz <= HighestPlausibleHz ? reportedHz : FallbackRefreshHz;
}

FramePacer StartPacing(uint32_t refreshHz, uint32_t now)
{
    return {PlausibleRefreshRate(refreshHz), now, 0};
}

void ChangeRefreshRate(FramePacer& pacer, uint32_t reportedHz, uint32_t now)
{
    const uint32_t hz = PlausibleRefreshRate(reportedHz);
    if (hz == pacer.refreshHz) {
        return;
    }
    pacer.refreshHz = hz;
    // The owed fraction was counted in the old rate's units.
    pacer.remainder = 0;
    if (Ahead(pacer.nextDue, now) > static_cast<int32_t>(1000 / hz)) {
        pacer.nextDue = now + 1000 / hz;
    }
}

uint32_t MillisecondsUntilFrame(const FramePacer& pacer, uint32_t now)
{
    const int32_t ahead = Ahead(pacer.nextDue, now);
    return ahead > 0 ? static_cast<uint32_t>(ahead) : 0;
}

void FrameRuns(FramePacer& pacer, uint32_t now)
{
    if (-Ahead(pacer.nextDue, now) >= static_cast<int32_t>(1000 / pacer.refreshHz)) {
        pacer.nextDue = now;
        pacer.remainder = 0;
    }
    Advance(pacer);
}
