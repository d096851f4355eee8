// high_scores.cpp -- the top five: ranking, insertion, initials typing, and the 120-byte file.
#include "core/game/high_scores.h"

#include <cstring>

#include "core/game/board.h"
#include "core/log/debug_log.h"
#include "ports/platform.h"
#include "ports/score_file.h"

HighScoreEntry HighScoreTable[HighScoreRows];
char Initials[MaxInitials + 1] = "";
bool InitialsActive = false;
bool PromptDirty = false;

namespace {

constexpr int RowBytes = sizeof(HighScoreEntry);

void FillDefaults()
{
    for (int row = 0; row < HighScoreRows; ++row) {
        std::memset(HighScoreTable[row].name, 0, HighScoreNameSize);
        std::memcpy(HighScoreTable[row].name, "MQV", 3);
        HighScoreTable[row].score = static_cast<uint32_t>(row + 1) * 1000;
    }
}

void TableToBytes(uint8_t (&bytes)[HighScoreFileSize])
{
    for (int row = 0; row < HighScoreRows; ++row) {
        uint8_t* out = bytes + row * RowBytes;
        std::memcpy(out, HighScoreTable[row].name, HighScoreNameSize);
        for (int i = 0; i < 4; ++i) {
            out[HighScoreNameSize + i] = static_cast<uint8_t>(HighScoreTable[row].score >> (8 * i));
        }
    }
}

// A name without its zero inside the field is cut at 19 characters.
void BytesToTable(const uint8_t (&bytes)[HighScoreFileSize])
{
    for (int row = 0; row < HighScoreRows; ++row) {
        const uint8_t* in = bytes + row * RowBytes;
        std::memcpy(HighScoreTable[row].name, in, HighScoreNameSize);
        HighScoreTable[row].name[HighScoreNameSize - 1] = '\0';
        const uint8_t* score = in + HighScoreNameSize;
        HighScoreTable[row].score = static_cast<uint32_t>(score[0]) | static_cast<uint32_t>(score[1]) << 8 |
                                    static_cast<uint32_t>(score[2]) << 16 | static_cast<uint32_t>(score[3]) << 24;
    }
}

void ScoreFilePath(char (&path)[DataPathSize])
{
    MakeSavePath(path, "quadrone.dat");
}

}  // namespace

void SortHighScores()
{
    // This exact exchange order decides where equal scores end up.
    for (int i = 0; i < HighScoreRows; ++i) {
        for (int j = 0; j < HighScoreRows; ++j) {
            if (HighScoreTable[i].score > HighScoreTable[j].score) {
                const HighScoreEntry kept = HighScoreTable[i];
                HighScoreTable[i] = HighScoreTable[j];
                HighScoreTable[j] = kept;
            }
        }
    }
}

int32_t FindScoreRank()
{
    for (int32_t row = 0; row < HighScoreRows; ++row) {
        if (HighScoreTable[row].score < Score) {
            return row;
        }
    }
    return -1;
}

void InsertHighScore(const char* name, uint32_t score)
{
    const int32_t rank = FindScoreRank();
    if (rank < 0) {
        return;
    }
    for (int32_t row = HighScoreRows - 2; row >= rank; --row) {
        HighScoreTable[row + 1] = HighScoreTable[row];
    }
    const size_t length = strnlen(name, HighScoreNameSize - 1);
    std::memcpy(HighScoreTable[rank].name, name, length);
    HighScoreTable[rank].name[length] = '\0';
    HighScoreTable[rank].score = score;
}

void TypeInitial(uint32_t key)
{
    const uint8_t ch = static_cast<uint8_t>(key & 0xFF);
    const size_t length = std::strlen(Initials);
    if (IsAlphaNumericKey(ch)) {
        if (length < MaxInitials) {
            Initials[length] = static_cast<char>(ch);
            Initials[length + 1] = '\0';
            PromptDirty = true;
        }
        return;
    }
    if (ch == 8 && length > 0) {
        Initials[length - 1] = '\0';
    } else if (ch == 13 && length > 0) {
        InitialsActive = false;
    }
    PromptDirty = true;
}

void LoadHighScores()
{
    FillDefaults();
    char path[DataPathSize];
    ScoreFilePath(path);
    uint8_t bytes[HighScoreFileSize];
    TableToBytes(bytes);
    uint32_t got = 0;
    if (!ReadHighScoreFile(path, bytes, HighScoreFileSize, &got)) {
        SaveHighScores();
        return;
    }
    // A short file replaces only the start of the defaults.
    BytesToTable(bytes);
    SortHighScores();
}

void SaveHighScores()
{
    SortHighScores();
    char path[DataPathSize];
    ScoreFilePath(path);
    uint8_t bytes[HighScoreFileSize];
    TableToBytes(bytes);
    WriteHighScoreFile(path, bytes, HighScoreFileSize);
}
