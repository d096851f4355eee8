// The top five: the 120-byte layout, loading damaged files, ranking, insertion and typing initials.
#include <cstring>
#include <optional>

#include "core/game/board.h"
#include "core/game/frame.h"
#include "core/game/high_scores.h"
#include "hand_archive.h"
#include "test_support.h"

namespace {

Bytes Rows(std::initializer_list<std::pair<std::string, uint32_t>> rows)
{
    Bytes bytes;
    for (const auto& [name, score] : rows) {
        bytes.resize(bytes.size() + 24);
        std::memcpy(&bytes[bytes.size() - 24], name.data(), std::min<size_t>(name.size(), 20));
        PutLe32(bytes, bytes.size() - 4, score);
    }
    return bytes;
}

std::string TableText()
{
    std::string text;
    for (const auto& row : HighScoreTable) {
        text += std::string(row.name) + " " + std::to_string(row.score) + "; ";
    }
    return text;
}

const std::string ScoreFile = ".\\quadrone.dat";
const Bytes DefaultFile = Rows({{"MQV", 5000}, {"MQV", 4000}, {"MQV", 3000}, {"MQV", 2000}, {"MQV", 1000}});

class HighScores : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGameState(1, 2);
        InitialsActive = true;
    }
};

}  // namespace

TEST_F(HighScores, LoadTakesWhatTheFileHoldsOverTheDefaults)
{
    Bytes shortFile = Rows({{"AAA", 9000}, {"BBB", 8000}});
    shortFile.insert(shortFile.end(), {'Z', 'Z'});
    // Missing: created with the sorted defaults. Short: only the start of the defaults is
    // replaced. Long and unordered: cut and sorted. A name without its zero: cut inside the field.
    const struct {
        const char* what;
        std::optional<Bytes> file;
        const char* table;
    } cases[] = {
        {"missing", std::nullopt, "MQV 5000; MQV 4000; MQV 3000; MQV 2000; MQV 1000; "},
        {"short", shortFile, "AAA 9000; BBB 8000; MQV 5000; MQV 4000; ZZV 3000; "},
        {"long", Rows({{"E", 1}, {"D", 20}, {"C", 300}, {"B", 4000}, {"A", 50000}, {"F", 999999}}),
            "A 50000; B 4000; C 300; D 20; E 1; "},
        {"unterminated", Rows({{std::string(20, 'X'), 0x01020304}}),
            "XXXXXXXXXXXXXXXXXXX 16909060; MQV 5000; MQV 4000; MQV 3000; MQV 2000; "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetScoreFiles(c.file ? std::map<std::string, Bytes>{{ScoreFile, *c.file}} : std::map<std::string, Bytes>{});
        LoadHighScores();
        EXPECT_EQ(TableText(), c.table);
        EXPECT_EQ(ScoreFiles().at(ScoreFile), c.file ? *c.file : DefaultFile) << "a file that loads is not written";
    }
}

TEST_F(HighScores, InsertPushesOutTheLastRowAndSavesTheLayout)
{
    LoadHighScores();
    const std::pair<std::string, uint32_t> inserted[] = {{std::string(20, 'N'), 4500}, {"ABC", 2500}, {"NO", 10}};
    for (const auto& row : inserted) {
        Score = row.second;
        InsertHighScore(row.first.c_str(), Score);
    }
    const std::string after = "MQV 5000; NNNNNNNNNNNNNNNNNNN 4500; MQV 4000; MQV 3000; ABC 2500; ";
    EXPECT_EQ(TableText(), after);
    EXPECT_EQ(FindScoreRank(), -1) << "10 ranks nowhere";

    SaveHighScores();
    EXPECT_EQ(ScoreFiles().at(ScoreFile),
        Rows({{"MQV", 5000}, {std::string(19, 'N'), 4500}, {"MQV", 4000}, {"MQV", 3000}, {"ABC", 2500}}));
    LoadHighScores();
    EXPECT_EQ(TableText(), after);
}

// Each row types its keys after the last row's; only the low byte of a key counts.
TEST_F(HighScores, TypingInitials)
{
    const struct {
        const char* what;
        std::vector<uint32_t> keys;
        const char* initials;
        bool redrawn;
        bool active;
    } steps[] = {
        {"Backspace with nothing typed, Enter without an initial, keypad 0: redraws only", {8, 13, ' ', 0x60}, "", true,
            true},
        {"a letter and a digit", {'A', '1'}, "A1", true, true},
        {"a third", {'B'}, "A1B", true, true},
        {"a fourth is ignored without a redraw", {'C'}, "A1B", false, true},
        {"Backspace, and a key with bits above the low byte", {8, 0x100 | 'Q'}, "A1Q", true, true},
        {"keypad 1, 9 and F1 type their codes", {8, 8, 8, 0x61, 0x69, 0x70}, "aip", true, true},
        {"Enter", {13}, "aip", true, false},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        PromptDirty = false;
        for (uint32_t key : step.keys) {
            TypeInitial(key);
        }
        EXPECT_STREQ(Initials, step.initials);
        EXPECT_EQ(PromptDirty, step.redrawn);
        EXPECT_EQ(InitialsActive, step.active);
    }
}
