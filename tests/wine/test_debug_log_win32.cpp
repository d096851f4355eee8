// On Windows the log is a text file in the current folder with CR LF line ends.
#include <windows.h>

#include "log/debug_log.h"
#include "test_support.h"

using DebugLogOnWindows = TempDirTest;

TEST_F(DebugLogOnWindows, LinesEndWithCarriageReturnAndLineFeed)
{
    ClearDebugLog();
    WriteDebugLog("-----------------");
    WriteDebugLog("");
    WriteDebugLog("Initializing...");
    const std::vector<uint8_t> bytes = ReadFileBytes("debug.log");
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text, "-----------------\r\n\r\nInitializing...\r\n");
}

// A log that another program holds open without sharing keeps its old lines, silently.
TEST_F(DebugLogOnWindows, LockedLogStaysUntouched)
{
    WriteDebugLog("old run");
    HANDLE holder = CreateFileA("debug.log", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ClearDebugLog();
    WriteDebugLog("dropped");
    CloseHandle(holder);
    EXPECT_EQ(ReadDebugLog(), std::vector<std::string>{"old run"});
}
