// The top five: ranking, insertion, the file's layout and damage, and typing initials.
#include <cstring>
#include <filesystem>
#include <string>

#include "game/board.h"
#include "game/high_scores.h"
#include "hand_archive.h"
#include "test_support.h"

namespace {

std::vector<uint8_t> Row(const std::string& name, uint32_t score)
{
    std::vector<uint8_t> bytes(24, 0);
    std::memcpy(bytes.data(), name.data(), std::min<size_t>(name.size(), 20));
    PutLe32(bytes, 20, score);
    return bytes;
}

std::vector<uint8_t> Rows(std::initializer_list<std::pair<std::string, uint32_t>> rows)
{
    std::vector<uint8_t> bytes;
    for (const auto& row : rows) {
        const std::vector<uint8_t> one = Row(row.first, row.second);
        bytes.insert(bytes.end(), one.begin(), one.end());
    }
    return bytes;
}

std::string TableText()
{
    std::string text;
    for (const HighScoreEntry& row : HighScoreTable) {
        text += std::string(row.name) + " " + std::to_string(row.score) + "; ";
    }
    return text;
}

const char* const ScoreFile = ".\\quadrone.dat";

class HighScores : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        Score = 0;
        Initials[0] = '\0';
        InitialsActive = true;
        PromptDirty = false;
    }
};

}  // namespace

TEST_F(HighScores, MissingFileIsCreatedWithSortedDefaults)
{
    LoadHighScores();
    EXPECT_EQ(TableText(), "MQV 5000; MQV 4000; MQV 3000; MQV 2000; MQV 1000; ");
    EXPECT_EQ(ReadFileBytes(ScoreFile),
              Rows({{"MQV", 5000}, {"MQV", 4000}, {"MQV", 3000}, {"MQV", 2000}, {"MQV", 1000}}));
}

TEST_F(HighScores, RanksAgainstTheDefaults)
{
    LoadHighScores();
    Score = 1000;
    EXPECT_EQ(FindScoreRank(), -1) << "equal to the fifth score does not enter";
    Score = 1001;
    EXPECT_EQ(FindScoreRank(), 4);
    Score = 4000;
    EXPECT_EQ(FindScoreRank(), 2) << "equal ranks below the same score";
    Score = 5001;
    EXPECT_EQ(FindScoreRank(), 0);
    Score = 0xFFFFFFFFu;
    EXPECT_EQ(FindScoreRank(), 0);
}

TEST_F(HighScores, InsertPushesOutTheLastRow)
{
    LoadHighScores();
    Score = 1001;
    InsertHighScore("ABC", 1001);
    EXPECT_EQ(TableText(), "MQV 5000; MQV 4000; MQV 3000; MQV 2000; ABC 1001; ");
    Score = 4500;
    InsertHighScore("Z", 4500);
    EXPECT_EQ(TableText(), "MQV 5000; Z 4500; MQV 4000; MQV 3000; MQV 2000; ");
    Score = 10;
    InsertHighScore("NO", 10);
    EXPECT_EQ(TableText(), "MQV 5000; Z 4500; MQV 4000; MQV 3000; MQV 2000; ");

    SaveHighScores();
    LoadHighScores();
    EXPECT_EQ(TableText(), "MQV 5000; Z 4500; MQV 4000; MQV 3000; MQV 2000; ");
}

TEST_F(HighScores, ShortFileReplacesOnlyTheStartOfTheDefaults)
{
    std::vector<uint8_t> bytes = Rows({{"AAA", 9000}, {"BBB", 8000}});
    bytes.push_back('Z');
    bytes.push_back('Z');
    ASSERT_EQ(bytes.size(), 50u);
    WriteFileBytes(ScoreFile, bytes);
    LoadHighScores();
    EXPECT_EQ(TableText(), "AAA 9000; BBB 8000; MQV 5000; MQV 4000; ZZV 3000; ");
    EXPECT_EQ(ReadFileBytes(ScoreFile), bytes) << "loading writes nothing back";
}

TEST_F(HighScores, LongAndUnorderedFilesAreCutAndSorted)
{
    std::vector<uint8_t> bytes = Rows({{"E", 1}, {"D", 20}, {"C", 300}, {"B", 4000}, {"A", 50000}, {"F", 999999}});
    WriteFileBytes(ScoreFile, bytes);
    LoadHighScores();
    EXPECT_EQ(TableText(), "A 50000; B 4000; C 300; D 20; E 1; ");
}

TEST_F(HighScores, NameWithoutItsZeroIsCutInsideTheField)
{
    std::vector<uint8_t> bytes = Rows({{std::string(20, 'X'), 7000}});
    WriteFileBytes(ScoreFile, bytes);
    LoadHighScores();
    EXPECT_EQ(std::string(HighScoreTable[0].name), std::string(19, 'X'));
}

// Something that is not a file sits where the table should go: nothing is lost in memory.
TEST_F(HighScores, UnwritableFileLosesNothingInMemory)
{
    std::filesystem::create_directory(ScoreFile);
    LoadHighScores();
    Score = 6000;
    InsertHighScore("NEW", 6000);
    SaveHighScores();
    EXPECT_EQ(TableText(), "NEW 6000; MQV 5000; MQV 4000; MQV 3000; MQV 2000; ");
    EXPECT_TRUE(std::filesystem::is_directory(ScoreFile));
}

TEST_F(HighScores, TypingInitials)
{
    TypeInitial('A');
    TypeInitial('1');
    EXPECT_TRUE(PromptDirty);
    TypeInitial('B');
    PromptDirty = false;
    TypeInitial('C');
    EXPECT_STREQ(Initials, "A1B");
    EXPECT_FALSE(PromptDirty) << "a fourth character is ignored without a redraw";

    TypeInitial(8);
    EXPECT_STREQ(Initials, "A1");
    EXPECT_TRUE(PromptDirty);
    TypeInitial(0x100 | 'Q');   // only the low byte counts
    EXPECT_STREQ(Initials, "A1Q");
    TypeInitial(13);
    EXPECT_FALSE(InitialsActive);
}

TEST_F(HighScores, EmptyInitialsOnlyRedraw)
{
    TypeInitial(8);
    EXPECT_STREQ(Initials, "");
    EXPECT_TRUE(PromptDirty);
    PromptDirty = false;
    TypeInitial(13);
    EXPECT_TRUE(InitialsActive) << "Enter needs at least one initial";
    EXPECT_TRUE(PromptDirty);
    PromptDirty = false;
    TypeInitial(' ');
    TypeInitial(0x60);   // keypad 0
    EXPECT_STREQ(Initials, "");
    EXPECT_TRUE(PromptDirty);
}

TEST_F(HighScores, KeypadAndFunctionKeysTypeTheirCodes)
{
    TypeInitial(0x61);   // keypad 1
    TypeInitial(0x69);   // keypad 9
    TypeInitial(0x70);   // F1
    EXPECT_STREQ(Initials, "aip");
}
