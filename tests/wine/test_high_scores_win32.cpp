// The score file on the real file calls: what stands in the way of a save, and the replace.
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <ostream>

#include "game/board.h"
#include "game/high_scores.h"
#include "test_support.h"

namespace {

const char* const Partial = "quadrone.dat.new";

void MakeFile(const char* path, const char* text) {
    WriteFileBytes(path, std::vector<uint8_t>(text, text + std::strlen(text)));
}

struct SaveCase {
    const char* situation;
    void (*prepare)();
    const char* bestOnDisk;   // "NEW" when the save reached the file, "OLD" when it was kept
    DWORD attributes;         // of quadrone.dat afterwards, among read-only and hidden
};

const SaveCase SaveCases[] = {
    {"nothing in the way", [] {}, "NEW", 0},
    {"a partial file left by a crash", [] { MakeFile(Partial, "half a tab"); }, "NEW", 0},
    {"no new file can be made beside it", [] { CreateDirectoryA(Partial, nullptr); }, "NEW", 0},
    {"a hidden table", [] { SetFileAttributesA("quadrone.dat", FILE_ATTRIBUTE_HIDDEN); }, "NEW",
     FILE_ATTRIBUTE_HIDDEN},
    {"a hidden table and no new file beside it",
     [] {
         SetFileAttributesA("quadrone.dat", FILE_ATTRIBUTE_HIDDEN);
         CreateDirectoryA(Partial, nullptr);
     },
     "NEW", FILE_ATTRIBUTE_HIDDEN},
    // The player's protection of the table: never replaced, though the crash's leftover goes.
    {"a read-only table and a partial left by a crash",
     [] {
         SetFileAttributesA("quadrone.dat", FILE_ATTRIBUTE_READONLY);
         MakeFile(Partial, "half a tab");
     },
     "OLD", FILE_ATTRIBUTE_READONLY},
};

void PrintTo(const SaveCase& c, std::ostream* out) {
    *out << c.situation;
}

class HighScoresOnWindows : public TempDirTest, public ::testing::WithParamInterface<SaveCase> {
protected:
    void SetUp() override {
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

TEST_P(HighScoresOnWindows, SaveLeavesOneWholeTableAndNoPartialFile) {
    const SaveCase& c = GetParam();
    ASSERT_EQ(saved.size(), 120u);
    c.prepare();
    SaveHighScores();
    const std::vector<uint8_t> now = ReadFileBytes("quadrone.dat");
    ASSERT_EQ(now.size(), 120u);
    EXPECT_STREQ(reinterpret_cast<const char*>(now.data()), c.bestOnDisk);
    EXPECT_STREQ(HighScoreTable[0].name, "NEW") << "nothing is lost in memory";
    const DWORD attributes = GetFileAttributesA("quadrone.dat");
    EXPECT_EQ(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), c.attributes);
    EXPECT_FALSE(std::filesystem::is_regular_file(Partial));
    SetFileAttributesA("quadrone.dat", FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA(Partial, FILE_ATTRIBUTE_NORMAL);
}

INSTANTIATE_TEST_SUITE_P(Situations, HighScoresOnWindows, ::testing::ValuesIn(SaveCases));

TEST_F(HighScoresOnWindows, LockedFileKeepsItsTable) {
    HANDLE holder = CreateFileA("quadrone.dat", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    SaveHighScores();
    LoadHighScores();   // cannot open it: the defaults, and a save that cannot replace it
    EXPECT_STREQ(HighScoreTable[0].name, "MQV");
    CloseHandle(holder);
    EXPECT_EQ(ReadFileBytes("quadrone.dat"), saved);
    EXPECT_FALSE(std::filesystem::exists(Partial));
}
