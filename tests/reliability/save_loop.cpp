// save_loop.exe -- saves two different tables in turn through the game's own save, as fast as
// it can, so that a kill lands in every part of a save. Ends by itself after a minute.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "core/game/high_scores.h"

namespace {

void FillTable(const char* name, uint32_t best)
{
    for (int row = 0; row < HighScoreRows; ++row) {
        std::memset(HighScoreTable[row].name, 0, HighScoreNameSize);
        std::strcpy(HighScoreTable[row].name, name);
        HighScoreTable[row].score = best - static_cast<uint32_t>(row);
    }
}

}  // namespace

int main()
{
    // Whoever kills this waits for the first line, so every kill lands among the saves.
    std::printf("saving\n");
    std::fflush(stdout);
    const DWORD start = GetTickCount();
    for (unsigned turn = 0; GetTickCount() - start < 60000; ++turn) {
        if (turn % 2 == 0) {
            FillTable("ONE", 1000);
        } else {
            FillTable("TWO", 2000);
        }
        SaveHighScores();
    }
    return 0;
}
