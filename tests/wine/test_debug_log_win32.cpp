// On Windows the log is a text file in the current folder with CR LF line ends.
#include <windows.h>

#include <algorithm>
#include <string>

#include "log/debug_log.h"
#include "test_support.h"

using DebugLogOnWindows = TempDirTest;

TEST_F(DebugLogOnWindows, LinesEndWithCarriageReturnAndLineFeed) {
    ClearDebugLog();
    WriteDebugLog("-----------------");
    WriteDebugLog("");
    WriteDebugLog("Initializing...");
    const std::vector<uint8_t> bytes = ReadFileBytes("debug.log");
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text, "-----------------\r\n\r\nInitializing...\r\n");
}

// A log that another program holds open without sharing keeps its old lines, silently.
TEST_F(DebugLogOnWindows, LockedLogStaysUntouched) {
    WriteDebugLog("old run");
    HANDLE holder = CreateFileA("debug.log", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ClearDebugLog();
    WriteDebugLog("dropped");
    CloseHandle(holder);
    EXPECT_EQ(ReadDebugLog(), std::vector<std::string>{"old run"});
}

// The music thread logs while the main thread does: every line lands whole, none overwritten.
TEST_F(DebugLogOnWindows, LinesOfTwoThreadsLandWhole) {
    constexpr int LinesEach = 400;
    auto line = [](const char* name, int i) { return name + std::string(" thread, line ") + std::to_string(i); };
    auto writer = [](LPVOID name) -> DWORD {
        for (int i = 0; i < LinesEach; ++i) {
            WriteDebugLog((static_cast<const char*>(name) + std::string(" thread, line ") + std::to_string(i)).c_str());
        }
        return 0;
    };
    HANDLE threads[2] = {CreateThread(nullptr, 0, writer, const_cast<char*>("main"), 0, nullptr),
                         CreateThread(nullptr, 0, writer, const_cast<char*>("music"), 0, nullptr)};
    ASSERT_EQ(WaitForMultipleObjects(2, threads, TRUE, 120000), WAIT_OBJECT_0);
    CloseHandle(threads[0]);
    CloseHandle(threads[1]);
    std::vector<std::string> lines = ReadDebugLog(), expected;
    for (int i = 0; i < 2 * LinesEach; ++i) expected.push_back(line(i < LinesEach ? "main" : "music", i % LinesEach));
    std::sort(lines.begin(), lines.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(lines, expected);
}
