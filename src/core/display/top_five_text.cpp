// top_five_text.cpp -- the Top Five's heading and rows, through the drawing port.
#include "core/display/top_five_text.h"

#include <cstdio>

#include "core/game/high_scores.h"
#include "ports/drawing.h"

namespace {

constexpr int32_t TableTop = 195;
constexpr int32_t TableRowHeight = 15;
constexpr int32_t NameLeft = 255;
constexpr int32_t ScoreLeft = 345;

// The stored name is drawn only up to the end of its field, zero or not.
void DrawTableRow(int32_t row, const HighScoreEntry& entry)
{
    const int32_t y = TableTop + TableRowHeight * row;
    char name[HighScoreNameSize + 1] = {};
    for (int i = 0; i < HighScoreNameSize && entry.name[i] != '\0'; ++i) {
        name[i] = entry.name[i];
    }
    DrawScreenText(NameLeft, y, name, Yellow, TransparentBackground);
    char score[16];
    std::snprintf(score, sizeof score, "%i", static_cast<int>(entry.score));
    DrawScreenText(ScoreLeft, y, score, Yellow, TransparentBackground);
}

}  // namespace

void DrawTopFiveText()
{
    DrawCenteredText("Top Five", 155, White, HeadingRed);
    for (int32_t row = 0; row < HighScoreRows; ++row) {
        DrawTableRow(row, HighScoreTable[row]);
    }
}
