// Debug log: lines land as written, the log starts empty, failures stay silent, floods are throttled.
#include <filesystem>
#include <string>

#include "log/debug_log.h"
#include "test_support.h"

using DebugLog = TempDirTest;

// The log starts empty, created where it was missing; lines are appended as they are.
TEST_F(DebugLog, ClearStartsAnEmptyLogAndLinesAreAppendedVerbatim) {
    ClearDebugLog();
    EXPECT_TRUE(std::filesystem::exists(".\\debug.log"));
    WriteDebugLog("from the last run");
    ClearDebugLog();
    EXPECT_TRUE(ReadDebugLog().empty());
    for (const char* line : {"-----------------", "", "two\nlines", "Initializing..."}) WriteDebugLog(line);
    EXPECT_EQ(ReadDebugLog(), (std::vector<std::string>{"-----------------", "", "two", "lines", "Initializing..."}));
}

// A log that cannot be opened (here a folder stands in its place) is neither replaced nor reported.
TEST_F(DebugLog, UnopenableLogIsLeftAloneSilently) {
    std::filesystem::create_directory(".\\debug.log");
    ClearDebugLog();
    WriteDebugLog("dropped");
    EXPECT_TRUE(std::filesystem::is_directory(".\\debug.log"));
}

// A failure that repeats every frame leaves a short log, and other lines still get through.
TEST_F(DebugLog, ALineRepeatedEveryFrameIsThrottled) {
    for (int frame = 0; frame < 3000; ++frame) WriteDebugLog("Error Blitting to Quadrone Board Surface");
    WriteDebugLog("Surfaces Restored");
    const std::vector<std::string> lines = ReadDebugLog();
    EXPECT_GE(lines.size(), 65u) << "a whole load's worth of one line still lands";
    EXPECT_LE(lines.size(), 200u);
    EXPECT_EQ(lines.back(), "Surfaces Restored");
    ClearDebugLog();
    WriteDebugLog("Error Blitting to Quadrone Board Surface");
    EXPECT_EQ(ReadDebugLog().size(), 1u) << "a new log starts the count afresh";
}
