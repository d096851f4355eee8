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

void MakePartial() {
    WriteFileBytes(Partial, {'h', 'a', 'l', 'f'});
}

// What a situation prepares returns a handle it holds open during the save, or none.
struct SaveCase {
    const char* situation;
    HANDLE (*prepare)();
    const char* bestOnDisk;   // "NEW" when the save reached the file, "OLD" when it was kept
    DWORD attributes;         // of quadrone.dat afterwards, among read-only and hidden
    const char* bestLoaded;   // after loading again while the handle is still held
};

const SaveCase SaveCases[] = {
    {"nothing in the way", [] { return INVALID_HANDLE_VALUE; }, "NEW", 0, "NEW"},
    {"a partial file left by a crash", [] { MakePartial(); return INVALID_HANDLE_VALUE; }, "NEW", 0, "NEW"},
    {"no new file can be made beside it", [] { CreateDirectoryA(Partial, nullptr); return INVALID_HANDLE_VALUE; },
     "NEW", 0, "NEW"},
    {"a hidden table", [] { SetFileAttributesA("quadrone.dat", FILE_ATTRIBUTE_HIDDEN); return INVALID_HANDLE_VALUE; },
     "NEW", FILE_ATTRIBUTE_HIDDEN, "NEW"},
    {"a hidden table and no new file beside it",
     [] {
         SetFileAttributesA("quadrone.dat", FILE_ATTRIBUTE_HIDDEN);
         CreateDirectoryA(Partial, nullptr);
         return INVALID_HANDLE_VALUE;
     },
     "NEW", FILE_ATTRIBUTE_HIDDEN, "NEW"},
    // The player's protection of the table: never replaced, though the crash's leftover goes.
    {"a read-only table and a partial left by a crash",
     [] {
         SetFileAttributesA("quadrone.dat", FILE_ATTRIBUTE_READONLY);
         MakePartial();
         return INVALID_HANDLE_VALUE;
     },
     "OLD", FILE_ATTRIBUTE_READONLY, "OLD"},
    // Another program holds the table without sharing: it keeps its bytes, a load gets the defaults.
    {"a locked table",
     [] { return CreateFileA("quadrone.dat", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr); }, "OLD", 0,
     "MQV"},
};

void PrintTo(const SaveCase& c, std::ostream* out) {
    *out << c.situation;
}

class HighScoresOnWindows : public TempDirTest, public ::testing::WithParamInterface<SaveCase> {};

}  // namespace

TEST_P(HighScoresOnWindows, SaveLeavesOneWholeTableAndNoPartialFile) {
    const SaveCase& c = GetParam();
    Score = 0;
    LoadHighScores();   // writes the defaults
    Score = 6000;
    InsertHighScore("OLD", 6000);
    SaveHighScores();
    Score = 7000;
    InsertHighScore("NEW", 7000);
    const HANDLE holder = c.prepare();
    SaveHighScores();
    EXPECT_STREQ(HighScoreTable[0].name, "NEW") << "nothing is lost in memory";
    LoadHighScores();
    EXPECT_STREQ(HighScoreTable[0].name, c.bestLoaded);
    if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
    const std::vector<uint8_t> now = ReadFileBytes("quadrone.dat");
    ASSERT_EQ(now.size(), 120u);
    EXPECT_STREQ(reinterpret_cast<const char*>(now.data()), c.bestOnDisk);
    EXPECT_EQ(GetFileAttributesA("quadrone.dat") & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), c.attributes);
    EXPECT_FALSE(std::filesystem::is_regular_file(Partial));
    SetFileAttributesA("quadrone.dat", FILE_ATTRIBUTE_NORMAL);
}

INSTANTIATE_TEST_SUITE_P(Situations, HighScoresOnWindows, ::testing::ValuesIn(SaveCases));
