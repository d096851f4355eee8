// Debug log: lines land as written, the log starts empty, failures stay silent, floods are throttled.
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

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

namespace {

const char* const FloodLine = "Error Blitting to Quadrone Board Surface";

// The clock the log reads, in milliseconds.
uint64_t NowMs()
{
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void WriteTimes(const char* text, int times)
{
    for (int i = 0; i < times; ++i) {
        WriteDebugLog(text);
    }
}

}  // namespace

// The log starts empty, created where it was missing, and lines land as written.
TEST_F(DebugLog, ClearedLogStartsEmptyAndTakesLinesAsWritten)
{
    ClearDebugLog();
    EXPECT_TRUE(std::filesystem::exists(".\\debug.log"));
    WriteDebugLog("");
    WriteDebugLog("two\nlines");
    EXPECT_EQ(ReadDebugLog(), (std::vector<std::string>{"", "two", "lines"}));
}

// A failure met every frame gets 128 lines at once, then four a second; other lines get through.
// The bounds come from the clock, so a slow machine only widens them. A cleared log counts afresh.
TEST_F(DebugLog, ARepeatedLineGetsABurstOf128ThenFourASecond)
{
    ClearDebugLog();
    const uint64_t start = NowMs();
    WriteTimes(FloodLine, 200);
    const uint64_t burstEnd = NowMs();
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    const uint64_t waited = NowMs() - burstEnd;
    WriteTimes(FloodLine, 10);
    const uint64_t elapsed = NowMs() - start;
    WriteDebugLog("Surfaces Restored");

    const std::vector<std::string> lines = ReadDebugLog();
    EXPECT_GE(lines.size() - 1, 128 + waited * 4 / 1000) << "after " << waited << " ms of quiet";
    EXPECT_LE(lines.size() - 1, 128 + elapsed * 4 / 1000) << "in " << elapsed << " ms";
    EXPECT_EQ(lines.back(), "Surfaces Restored");
    ClearDebugLog();
    WriteTimes(FloodLine, 10);
    EXPECT_EQ(ReadDebugLog().size(), 10u) << "a cleared log gives the flooded line its burst again";
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

// The echo (the browser's console) shows the file's lines and no more: a flood is cut for both.
TEST_F(DebugLog, EchoSeesExactlyTheLinesTheFileTakes)
{
    static std::vector<std::string> echoed;
    echoed.clear();
    EchoDebugLogLine = [](const char* text) { echoed.emplace_back(text); };
    ClearDebugLog();
    WriteDebugLog("Initializing...");
    WriteTimes(FloodLine, 200);
    EchoDebugLogLine = nullptr;
    WriteDebugLog("not echoed");

    std::vector<std::string> lines = ReadDebugLog();
    lines.pop_back();
    EXPECT_EQ(echoed, lines);
}
