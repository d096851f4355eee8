// On Windows the log is a text file with CR LF line ends that two threads write at once.
#include <windows.h>

#include <algorithm>
#include <string>

#include "core/log/debug_log.h"
#include "test_support.h"

using DebugLogOnWindows = TempDirTest;

// The music thread logs while the main thread does: every line lands whole, none overwritten.
TEST_F(DebugLogOnWindows, LinesOfTwoThreadsLandWhole)
{
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
    for (int i = 0; i < 2 * LinesEach; ++i) {
        expected.push_back(line(i < LinesEach ? "main" : "music", i % LinesEach));
    }
    const std::vector<uint8_t> raw = ReadFileBytes("debug.log");
    EXPECT_EQ(std::count(raw.begin(), raw.end(), '\r'), 2 * LinesEach) << "CR LF line ends";
    std::sort(lines.begin(), lines.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(lines, expected);
}
