// The score file on the real file calls: what stands in the way of a save, and the replace.
#include <windows.h>

#include <filesystem>

#include "core/game/board.h"
#include "core/game/high_scores.h"
#include "test_support.h"

namespace {

const char* const Partial = "quadrone.dat.new";

// What stands in the way: a partial file left by a crash, or a folder where no new file can be
// made beside the table; the table hidden or read-only; another program holding it unshared.
enum Obstacle { None = 0, PartialFile = 1, PartialFolder = 2, Hidden = 4, ReadOnly = 8, Locked = 16 };

struct SaveCase {
    const char* name;
    int obstacles;
    const char* bestOnDisk;  // "NEW" when the save reached the file, "OLD" when it was kept
};

// A read-only table is the player's protection: never replaced, though a crash's leftover goes.
// A locked one keeps its bytes, and a load meanwhile gets the defaults.
const SaveCase SaveCases[] = {{"Nothing", None, "NEW"}, {"PartialFile", PartialFile, "NEW"},
    {"PartialFolder", PartialFolder, "NEW"}, {"Hidden", Hidden, "NEW"},
    {"HiddenWithPartialFolder", Hidden | PartialFolder, "NEW"},
    {"ReadOnlyWithPartialFile", ReadOnly | PartialFile, "OLD"}, {"Locked", Locked, "OLD"}};

class HighScoresOnWindows : public TempDirTest, public ::testing::WithParamInterface<SaveCase> {};

}  // namespace

TEST_P(HighScoresOnWindows, SaveLeavesOneWholeTableAndNoPartialFile)
{
    const SaveCase& c = GetParam();
    Score = 0;
    LoadHighScores();  // writes the defaults
    Score = 6000;
    InsertHighScore("OLD", 6000);
    SaveHighScores();
    Score = 7000;
    InsertHighScore("NEW", 7000);
    if (c.obstacles & PartialFile) {
        WriteFileBytes(Partial, {'h', 'a', 'l', 'f'});
    }
    if (c.obstacles & PartialFolder) {
        CreateDirectoryA(Partial, nullptr);
    }
    const DWORD attributes =
        (c.obstacles & Hidden ? FILE_ATTRIBUTE_HIDDEN : 0) | (c.obstacles & ReadOnly ? FILE_ATTRIBUTE_READONLY : 0);
    if (attributes) {
        SetFileAttributesA("quadrone.dat", attributes);
    }
    const HANDLE holder = c.obstacles & Locked
                              ? CreateFileA("quadrone.dat", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                              : INVALID_HANDLE_VALUE;
    SaveHighScores();
    EXPECT_STREQ(HighScoreTable[0].name, "NEW") << "nothing is lost in memory";
    LoadHighScores();
    EXPECT_STREQ(HighScoreTable[0].name, c.obstacles & Locked ? "MQV" : c.bestOnDisk);
    if (holder != INVALID_HANDLE_VALUE) {
        CloseHandle(holder);
    }
    const std::vector<uint8_t> now = ReadFileBytes("quadrone.dat");
    ASSERT_EQ(now.size(), 120u);
    EXPECT_STREQ(reinterpret_cast<const char*>(now.data()), c.bestOnDisk);
    EXPECT_EQ(GetFileAttributesA("quadrone.dat") & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), attributes);
    EXPECT_FALSE(std::filesystem::is_regular_file(Partial));
    SetFileAttributesA("quadrone.dat", FILE_ATTRIBUTE_NORMAL);
}

INSTANTIATE_TEST_SUITE_P(Situations, HighScoresOnWindows, ::testing::ValuesIn(SaveCases),
    [](const auto& info) { return std::string(info.param.name); });
