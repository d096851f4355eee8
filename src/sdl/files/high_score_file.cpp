// high_score_file.cpp -- "quadrone.dat" on POSIX file calls. A save writes a new file beside the
// old one, flushes it to disk and renames it over the old one, so a save cut short leaves one
// whole table. Where no new file can be made beside it, the table is written in place instead.
// Either way the folder is then kept, which in the browser writes it through to the page's storage.
#include "ports/score_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "sdl/files/folders.h"

namespace {

bool WriteAll(int file, const uint8_t* bytes, uint32_t size)
{
    while (size > 0) {
        const ssize_t written = write(file, bytes, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes += written;
        size -= static_cast<uint32_t>(written);
    }
    return true;
}

// Writes the bytes from the start of the opened file, cuts it there and flushes it to disk.
bool WriteAndClose(int file, const uint8_t* bytes, uint32_t size)
{
    const bool whole = WriteAll(file, bytes, size) && ftruncate(file, size) == 0 && fsync(file) == 0;
    return close(file) == 0 && whole;
}

// The rename is on disk only once the folder that holds the name is.
void SyncFolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int handle = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle >= 0) {
        fsync(handle);
        close(handle);
    }
}

bool WriteTable(const char* path, const uint8_t* bytes, uint32_t size)
{
    // A partial file left by a save that never finished.
    const std::string partial = std::string(path) + ".new";
    unlink(partial.c_str());

    struct stat old = {};
    const bool exists = stat(path, &old) == 0;
    // A table without write permission is the player's protection of it, even for root.
    if (exists && (old.st_mode & S_IWUSR) == 0) {
        return false;
    }
    const mode_t mode = exists ? (old.st_mode & 07777) : 0644;
    const int file = open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (file < 0) {
        const int inPlace = open(path, O_WRONLY | O_CREAT | O_CLOEXEC, mode);
        return inPlace >= 0 && WriteAndClose(inPlace, bytes, size);
    }
    // The new table keeps the old one's permissions, whatever the umask says.
    if (exists) {
        fchmod(file, mode);
    }
    if (!WriteAndClose(file, bytes, size) || rename(partial.c_str(), path) != 0) {
        unlink(partial.c_str());
        return false;
    }
    SyncFolderOf(path);
    return true;
}

}  // namespace

bool ReadHighScoreFile(const char* path, uint8_t* buffer, uint32_t capacity, uint32_t* got)
{
    const int file = open(path, O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        return false;
    }
    uint32_t total = 0;
    while (total < capacity) {
        const ssize_t count = read(file, buffer + total, capacity - total);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            break;
        }
        total += static_cast<uint32_t>(count);
    }
    *got = total;
    close(file);
    return true;
}

bool WriteHighScoreFile(const char* path, const uint8_t* bytes, uint32_t size)
{
    const bool written = WriteTable(path, bytes, size);
    KeepSaveFolder();
    return written;
}
