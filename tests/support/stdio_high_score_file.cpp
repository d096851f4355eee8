// stdio_high_score_file.cpp -- the score file natively, on real files, for tests of the table.
#include <cstdio>
#include <string>

#include "game/high_score_file.h"

bool ReadHighScoreFile(const char* path, uint8_t* buffer, uint32_t capacity, uint32_t* got)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    *got = static_cast<uint32_t>(std::fread(buffer, 1, capacity, file));
    std::fclose(file);
    return true;
}

bool WriteHighScoreFile(const char* path, const uint8_t* bytes, uint32_t size)
{
    const std::string partial = std::string(path) + ".new";
    std::FILE* file = std::fopen(partial.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written || std::rename(partial.c_str(), path) != 0) {
        std::remove(partial.c_str());
        return false;
    }
    return true;
}
