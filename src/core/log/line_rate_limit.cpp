// line_rate_limit.cpp -- a token bucket per distinct log line, keyed by a hash of its text.
#include "core/log/line_rate_limit.h"

namespace {

constexpr uint64_t CreditPerLine = 1000;

uint64_t HashText(const char* text)
{
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const char* c = text; *c != '\0'; ++c) {
        hash = (hash ^ static_cast<uint8_t>(*c)) * 1099511628211ull;
    }
    return hash;
}

}  // namespace

LineRateLimit::LineRateLimit(uint32_t burst, uint32_t perSecond, size_t remembered)
    : burstCredit(uint64_t{burst} * CreditPerLine), perSecond(perSecond), remembered(remembered)
{
}

bool LineRateLimit::Allow(const char* text, uint64_t nowMs)
{
    const uint64_t key = HashText(text);
    Line* line = nullptr;
    Line* oldest = nullptr;
    for (Line& candidate : lines) {
        if (candidate.key == key) {
            line = &candidate;
            break;
        }
        if (oldest == nullptr || candidate.lastMs < oldest->lastMs) {
            oldest = &candidate;
        }
    }
    if (line == nullptr) {
        if (lines.size() < remembered) {
            lines.push_back({});
            line = &lines.back();
        } else {
            line = oldest;
        }
        *line = {key, nowMs, burstCredit};
    }
    // perSecond lines a second are perSecond thousandths of a line a millisecond.
    const uint64_t earned = nowMs > line->lastMs ? (nowMs - line->lastMs) * perSecond : 0;
    line->credit = line->credit + earned < burstCredit ? line->credit + earned : burstCredit;
    line->lastMs = nowMs > line->lastMs ? nowMs : line->lastMs;
    if (line->credit < CreditPerLine) {
        return false;
    }
    line->credit -= CreditPerLine;
    return true;
}

void LineRateLimit::Forget()
{
    lines.clear();
}
