// memory_high_score_file.cpp -- the score file as bytes in memory, for native tests of the table;
// the real file calls and their rename-based save are tested under Wine.
#include <algorithm>

#include "ports/score_file.h"
#include "test_support.h"

namespace {
using Store = std::map<std::string, std::vector<uint8_t>>;

// Each test starts without a score file, as it starts in an empty folder.
Store& Stored()
{
    static Store store;
    static const testing::TestInfo* owner = nullptr;
    if (owner != testing::UnitTest::GetInstance()->current_test_info()) {
        owner = testing::UnitTest::GetInstance()->current_test_info();
        store = {};
    }
    return store;
}
}  // namespace

void SetScoreFiles(std::map<std::string, std::vector<uint8_t>> files)
{
    Stored() = std::move(files);
}

std::map<std::string, std::vector<uint8_t>> ScoreFiles()
{
    return Stored();
}

bool ReadHighScoreFile(const char* path, uint8_t* buffer, uint32_t capacity, uint32_t* got)
{
    const auto file = Stored().find(path);
    if (file == Stored().end()) {
        return false;
    }
    *got = std::min<uint32_t>(capacity, static_cast<uint32_t>(file->second.size()));
    std::copy_n(file->second.begin(), *got, buffer);
    return true;
}

bool WriteHighScoreFile(const char* path, const uint8_t* bytes, uint32_t size)
{
    Stored()[path].assign(bytes, bytes + size);
    return true;
}
