// save_loop [FOLDER] -- saves two different tables in turn through the game's own save, as fast
// as it can, so that a kill lands in every part of a save. Ends by itself after a minute. The
// table goes to FOLDER, by default where the game keeps it.
#include <chrono>
#include <cstdio>
#include <cstring>

#include "core/game/high_scores.h"
#include "core/log/debug_log.h"

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

int main(int argc, char** argv)
{
    if (argc == 2) {
        std::snprintf(SaveFolder, DataPathSize, "%s", argv[1]);
    }
    // Whoever kills this waits for the first line, so every kill lands among the saves.
    std::printf("saving\n");
    std::fflush(stdout);
    const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    for (unsigned turn = 0; std::chrono::steady_clock::now() < end; ++turn) {
        if (turn % 2 == 0) {
            FillTable("ONE", 1000);
        } else {
            FillTable("TWO", 2000);
        }
        SaveHighScores();
    }
    return 0;
}
