// high_score_file.cpp -- "quadrone.dat" through OpenFile, ReadFile, WriteFile and _lclose.
// A save writes a new file beside the old one and then replaces it, so an interrupted save
// leaves one whole table on disk. Where no new file can be made beside it, the table is
// written in place rather than lost.
#include "ports/score_file.h"

#include <string>

#include <windows.h>

namespace {

// What a replaced table file carries over from the old one.
constexpr DWORD KeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

HANDLE AsHandle(HFILE file)
{
    return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(file));
}

// Writes the bytes from the start of the opened file and cuts it there.
bool WriteAndClose(HFILE file, const uint8_t* bytes, uint32_t size)
{
    DWORD written = 0;
    const bool whole = WriteFile(AsHandle(file), bytes, size, &written, nullptr) && written == size &&
                       SetEndOfFile(AsHandle(file)) && FlushFileBuffers(AsHandle(file));
    return _lclose(file) != HFILE_ERROR && whole;
}

// An existing file is opened as it is, so a hidden or system table stays so.
bool WriteInPlace(const char* path, DWORD attributes, const uint8_t* bytes, uint32_t size)
{
    OFSTRUCT info = {};
    const UINT mode = attributes == INVALID_FILE_ATTRIBUTES ? OF_CREATE | OF_WRITE : OF_WRITE;
    const HFILE file = OpenFile(path, &info, mode);
    return file != HFILE_ERROR && WriteAndClose(file, bytes, size);
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
    // A partial file left by a save that never finished.
    const std::string partial = std::string(path) + ".new";
    DeleteFileA(partial.c_str());

    const DWORD attributes = GetFileAttributesA(path);
    // A read-only file is the player's protection of the table: never replace it.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return false;
    }
    OFSTRUCT info = {};
    const HFILE file = OpenFile(partial.c_str(), &info, OF_CREATE | OF_WRITE);
    if (file == HFILE_ERROR) {
        return WriteInPlace(path, attributes, bytes, size);
    }
    if (!WriteAndClose(file, bytes, size)) {
        DeleteFileA(partial.c_str());
        return false;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & KeptAttributes) != 0) {
        SetFileAttributesA(partial.c_str(), attributes & KeptAttributes);
    }
    if (MoveFileExA(partial.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    DeleteFileA(partial.c_str());
    return false;
}
