// line_rate_limit.h -- how often one log line may be written: a burst, then a few a second.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Each distinct text may be written `burst` times at once and `perSecond` times a second after
// that, so a failure met every frame cannot fill the disk. Only the `remembered` texts used last
// are tracked; one that was forgotten starts with a full burst again.
class LineRateLimit {
public:
    LineRateLimit(uint32_t burst, uint32_t perSecond, size_t remembered);
    bool Allow(const char* text, uint64_t nowMs);  // true when the line may be written now
    void Forget();                                 // every text starts afresh

private:
    struct Line {
        uint64_t key;
        uint64_t lastMs;
        uint64_t credit;  // thousandths of a line
    };
    uint64_t burstCredit;
    uint32_t perSecond;
    size_t remembered;
    std::vector<Line> lines;
};
