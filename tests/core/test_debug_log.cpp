// Debug log: lines land as written, the log starts empty, failures stay silent, floods are throttled.
#include <filesystem>

#include "core/log/debug_log.h"
#include "core/log/line_rate_limit.h"
#include "test_support.h"

using DebugLog = TempDirTest;

// A log that cannot be opened (here a folder stands in its place) is neither replaced nor reported.
TEST_F(DebugLog, UnopenableLogIsLeftAloneSilently)
{
    std::filesystem::create_directory(".\\debug.log");
    ClearDebugLog();
    WriteDebugLog("dropped");
    EXPECT_TRUE(std::filesystem::is_directory(".\\debug.log"));
}

// The log starts empty, created where it was missing, and lines land as written; a failure that
// repeats every frame leaves a short log, other lines still get through, a new log counts afresh.
TEST_F(DebugLog, ClearedLogTakesLinesAsWrittenAndThrottlesARepeatedOne)
{
    ClearDebugLog();
    EXPECT_TRUE(std::filesystem::exists(".\\debug.log"));
    for (const char* line : {"", "two\nlines"}) {
        WriteDebugLog(line);
    }
    EXPECT_EQ(ReadDebugLog(), (std::vector<std::string>{"", "two", "lines"}));
    ClearDebugLog();
    for (int frame = 0; frame < 3000; ++frame) {
        WriteDebugLog("Error Blitting to Quadrone Board Surface");
    }
    WriteDebugLog("Surfaces Restored");
    const std::vector<std::string> lines = ReadDebugLog();
    EXPECT_GE(lines.size(), 65u) << "a whole load's worth of one line still lands";
    EXPECT_LE(lines.size(), 200u);
    EXPECT_EQ(lines.back(), "Surfaces Restored");
    ClearDebugLog();
    WriteDebugLog("Error Blitting to Quadrone Board Surface");
    EXPECT_EQ(ReadDebugLog().size(), 1u) << "a new log starts the count afresh";
}

// A burst, then a few a second for each text on its own; a forgotten text starts afresh.
TEST(LineRateLimit, BurstThenAFewASecondPerText)
{
    LineRateLimit limit(3, 2, 2);
    auto allowed = [&](const char* text, uint64_t at, int tries) {
        int count = 0;
        for (int i = 0; i < tries; ++i) {
            count += limit.Allow(text, at);
        }
        return count;
    };
    EXPECT_EQ(allowed("lost", 1000, 10), 3);
    EXPECT_EQ(allowed("other", 1000, 10), 3);
    EXPECT_EQ(allowed("lost", 1499, 10), 0) << "half a line earned";
    EXPECT_EQ(allowed("lost", 1500, 10), 1);
    EXPECT_EQ(allowed("lost", 61500, 10), 3) << "credit stops at the burst";
    EXPECT_EQ(allowed("third", 61500, 1), 1) << "\"other\", used longest ago, is forgotten";
    EXPECT_EQ(allowed("other", 61500, 10), 3);
    limit.Forget();
    EXPECT_EQ(allowed("lost", 61500, 10), 3);
}
