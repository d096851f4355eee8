// The score file on the real file calls: read-only and locked files, and the replace on save.
#include <windows.h>

#include <filesystem>

#include "game/board.h"
#include "game/high_scores.h"
#include "test_support.h"

namespace {

class HighScoresOnWindows : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        Score = 0;
        LoadHighScores();   // writes the defaults
        Score = 6000;
        InsertHighScore("OLD", 6000);
        SaveHighScores();
        saved = ReadFileBytes("quadrone.dat");
        Score = 7000;
        InsertHighScore("NEW", 7000);
    }

    std::vector<uint8_t> saved;
};

}  // namespace

TEST_F(HighScoresOnWindows, SaveReplacesTheWholeFileAndLeavesNoPartialBehind)
{
    ASSERT_EQ(saved.size(), 120u);
    SaveHighScores();
    const std::vector<uint8_t> now = ReadFileBytes("quadrone.dat");
    ASSERT_EQ(now.size(), 120u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(now.data())), "NEW");
    EXPECT_FALSE(std::filesystem::exists("quadrone.dat.new"));
}

TEST_F(HighScoresOnWindows, ReadOnlyFileIsReadButNeverOverwritten)
{
    ASSERT_TRUE(SetFileAttributesA("quadrone.dat", FILE_ATTRIBUTE_READONLY));
    SaveHighScores();
    EXPECT_EQ(ReadFileBytes("quadrone.dat"), saved);
    EXPECT_STREQ(HighScoreTable[0].name, "NEW") << "nothing is lost in memory";
    LoadHighScores();
    EXPECT_STREQ(HighScoreTable[0].name, "OLD");
    SetFileAttributesA("quadrone.dat", FILE_ATTRIBUTE_NORMAL);
}

TEST_F(HighScoresOnWindows, LockedFileKeepsItsTable)
{
    HANDLE holder = CreateFileA("quadrone.dat", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    SaveHighScores();
    LoadHighScores();   // cannot open it: the defaults, and a save that cannot replace it
    EXPECT_STREQ(HighScoreTable[0].name, "MQV");
    CloseHandle(holder);
    EXPECT_EQ(ReadFileBytes("quadrone.dat"), saved);
    EXPECT_FALSE(std::filesystem::exists("quadrone.dat.new"));
}
