// high_score_file_win32.cpp -- "quadrone.dat" through OpenFile, ReadFile, WriteFile and _lclose.
// A save writes a new file beside the old one and then replaces it, so an interrupted save
// leaves one whole table on disk.
#include "game/high_score_file.h"

#include <string>

#include <windows.h>

namespace {

HANDLE AsHandle(HFILE file)
{
    return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(file));
}

bool WriteWhole(const char* path, const uint8_t* bytes, uint32_t size)
{
    OFSTRUCT info = {};
    const HFILE file = OpenFile(path, &info, OF_CREATE | OF_WRITE);
    if (file == HFILE_ERROR) {
        return false;
    }
    DWORD written = 0;
    const bool whole = WriteFile(AsHandle(file), bytes, size, &written, nullptr) && written == size &&
                       FlushFileBuffers(AsHandle(file));
    return _lclose(file) != HFILE_ERROR && whole;
}

// A read-only file is the player's protection of the table: never replace it.
bool IsReadOnly(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

}  // namespace

bool ReadHighScoreFile(const char* path, uint8_t* buffer, uint32_t capacity, uint32_t* got)
{
    OFSTRUCT info = {};
    const HFILE file = OpenFile(path, &info, OF_READ);
    if (file == HFILE_ERROR) {
        return false;
    }
    DWORD read = 0;
    if (!ReadFile(AsHandle(file), buffer, capacity, &read, nullptr)) {
        read = 0;
    }
    *got = read;
    _lclose(file);
    return true;
}

bool WriteHighScoreFile(const char* path, const uint8_t* bytes, uint32_t size)
{
    if (IsReadOnly(path)) {
        return false;
    }
    const std::string partial = std::string(path) + ".new";
    if (WriteWhole(partial.c_str(), bytes, size) &&
        MoveFileExA(partial.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    DeleteFileA(partial.c_str());
    return false;
}
