// Feeds arbitrary bytes to the high-score table as the file "quadrone.dat", then types the rest
// of the input as initials keys and enters a result, the way a game's end does. The table must
// stay sorted with every name ended inside its field, and survive a save and a load unchanged.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/game/board.h"
#include "core/game/high_scores.h"
#include "core/log/debug_log.h"
#include "ports/drawing.h"
#include "ports/score_file.h"
#include "ports/sound.h"

// The board beside the table plays sounds and draws; the table code never reaches them.
Sound* RotateSound = nullptr;
Sound* StaticSound = nullptr;
bool SoundIsPlaying(Sound*)
{
    return false;
}
ResultCode StopSound(Sound*)
{
    return 0;
}
ResultCode ResetSound(Sound*)
{
    return 0;
}
ResultCode PlayEffect(Sound*, uint32_t, uint32_t)
{
    return 0;
}
void DrawSparks(int32_t)
{
}
ResultCode DrawPlayScreen()
{
    return 0;
}

namespace {

std::vector<uint8_t> StoredFile;
bool FileMissing = false;

void Check(bool holds)
{
    if (!holds) {
        std::abort();
    }
}

void CheckTable()
{
    for (int row = 0; row < HighScoreRows; ++row) {
        Check(strnlen(HighScoreTable[row].name, HighScoreNameSize) < HighScoreNameSize);
        Check(row == 0 || HighScoreTable[row - 1].score >= HighScoreTable[row].score);
    }
}

std::vector<std::pair<uint32_t, std::string>> Rows()
{
    std::vector<std::pair<uint32_t, std::string>> rows;
    for (const HighScoreEntry& entry : HighScoreTable) {
        rows.emplace_back(entry.score, entry.name);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

// The exchange sort may swap rows of equal score, so rows are compared as a set.
void CheckSaveAndLoadKeepTheTable()
{
    const auto before = Rows();
    SaveHighScores();
    Check(StoredFile.size() == HighScoreFileSize);
    LoadHighScores();
    CheckTable();
    Check(Rows() == before);
}

}  // namespace

// The file lives in memory.
bool ReadHighScoreFile(const char*, uint8_t* buffer, uint32_t capacity, uint32_t* got)
{
    if (FileMissing) {
        return false;
    }
    *got = static_cast<uint32_t>(std::min<size_t>(capacity, StoredFile.size()));
    std::memcpy(buffer, StoredFile.data(), *got);
    return true;
}

bool WriteHighScoreFile(const char*, const uint8_t* bytes, uint32_t size)
{
    StoredFile.assign(bytes, bytes + size);
    FileMissing = false;
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::snprintf(DataFolder, DataPathSize, "/dev/null/");
    std::snprintf(SaveFolder, DataPathSize, "/dev/null/");
    const size_t fileSize = std::min<size_t>(size, HighScoreFileSize + 8);
    // An empty input stands for a file that cannot be opened.
    StoredFile.assign(data, data + fileSize);
    FileMissing = size == 0;
    LoadHighScores();
    CheckTable();
    CheckSaveAndLoadKeepTheTable();

    Initials[0] = '\0';
    InitialsActive = true;
    for (size_t i = fileSize; i < size && InitialsActive; ++i) {
        TypeInitial(data[i]);
        Check(std::strlen(Initials) <= MaxInitials);
    }
    Score = size >= 4 ? static_cast<uint32_t>(data[size - 4]) << 24 | data[size - 3] << 16 | data[size - 2] << 8 |
                            data[size - 1]
                      : 0;
    const int32_t rank = FindScoreRank();
    InsertHighScore(Initials, Score);
    CheckTable();
    if (rank >= 0) {
        Check(HighScoreTable[rank].score == Score && std::strcmp(HighScoreTable[rank].name, Initials) == 0);
    }
    CheckSaveAndLoadKeepTheTable();
    return 0;
}
