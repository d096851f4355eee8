// high_scores.h -- the five best results with their initials, and the file "quadrone.dat".
#pragma once

#include <cstdint>

constexpr int HighScoreRows = 5;
constexpr int HighScoreNameSize = 20;
constexpr int HighScoreFileSize = 120;
constexpr int MaxInitials = 3;

struct HighScoreEntry {
    char name[HighScoreNameSize];  // always zero-terminated within the field
    uint32_t score;
};
static_assert(sizeof(HighScoreEntry) == 24, "a row is 24 bytes in memory and on disk");

extern HighScoreEntry HighScoreTable[HighScoreRows];  // row 0 is the best
extern char Initials[MaxInitials + 1];
extern bool InitialsActive;
extern bool PromptDirty;

void LoadHighScores();
void SaveHighScores();
void SortHighScores();
int32_t FindScoreRank();  // the row the current Score would take, or -1
void InsertHighScore(const char* name, uint32_t score);
void TypeInitial(uint32_t key);
