// Debug log and data paths: lines land whole, the log starts empty, failures stay silent.
#include <filesystem>
#include <string>

#include "log/debug_log.h"
#include "test_support.h"

using DebugLog = TempDirTest;

TEST_F(DebugLog, DataPathIsCurrentFolderPrefix)
{
    char out[DataPathSize];
    MakeDataPath(out, "audio.vbf");
    EXPECT_STREQ(out, ".\\audio.vbf");

    const std::string longName(400, 'x');
    MakeDataPath(out, longName.c_str());
    EXPECT_EQ(std::string(out).size(), static_cast<size_t>(DataPathSize - 1));
}

TEST_F(DebugLog, LinesAreAppendedVerbatim)
{
    WriteDebugLog("-----------------");
    WriteDebugLog("");
    WriteDebugLog("two\nlines");
    WriteDebugLog("Initializing...");
    EXPECT_EQ(ReadDebugLog(),
              (std::vector<std::string>{"-----------------", "", "two", "lines", "Initializing..."}));
}

TEST_F(DebugLog, ClearEmptiesAnExistingLog)
{
    WriteDebugLog("from the last run");
    ClearDebugLog();
    EXPECT_TRUE(ReadDebugLog().empty());
    WriteDebugLog("first");
    EXPECT_EQ(ReadDebugLog(), std::vector<std::string>{"first"});
}

TEST_F(DebugLog, ClearCreatesAMissingLog)
{
    ClearDebugLog();
    EXPECT_TRUE(std::filesystem::exists(".\\debug.log"));
}

// A log that cannot be opened (here a folder stands in its place) is neither replaced nor reported.
TEST_F(DebugLog, UnopenableLogIsLeftAloneSilently)
{
    std::filesystem::create_directory(".\\debug.log");
    ClearDebugLog();
    WriteDebugLog("dropped");
    EXPECT_TRUE(std::filesystem::is_directory(".\\debug.log"));
}
