// vbftool.cpp -- lists, extracts and packs the game's ".vbf" archives, for players who want to
// swap in pictures or sounds of their own.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/archive/resource_archive.h"

namespace fs = std::filesystem;

namespace {

const char* const Usage = "usage: vbftool list ARCHIVE\n"
                          "       vbftool extract ARCHIVE [FOLDER]\n"
                          "       vbftool pack ARCHIVE FILE-OR-FOLDER...\n";

// The table may be damaged: a name is printed and used only up to its field's end.
std::string EntryName(const ArchiveEntry& entry)
{
    return std::string(entry.name, strnlen(entry.name, ArchiveNameSize));
}

// A stored name must stay inside the target folder.
bool IsPlainFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\:") == std::string::npos;
}

bool OpenForReading(ResourceArchive& archive, const char* path)
{
    if (!archive.Open(path)) {
        std::fprintf(stderr, "vbftool: cannot read %s as an archive\n", path);
        return false;
    }
    if (archive.Failed()) {
        std::fprintf(stderr, "vbftool: the entry table of %s is damaged; listing what was read\n", path);
    }
    return true;
}

int List(const char* archivePath)
{
    ResourceArchive archive;
    if (!OpenForReading(archive, archivePath)) {
        return 1;
    }
    std::printf("%10s %10s  %s\n", "size", "offset", "name");
    for (const ArchiveEntry& entry : archive.Entries()) {
        std::printf("%10lu %10lu  %s\n", static_cast<unsigned long>(entry.size),
            static_cast<unsigned long>(entry.offset), EntryName(entry).c_str());
    }
    const bool damaged = archive.Failed();
    archive.Close();
    return damaged ? 1 : 0;
}

// Copies in pieces, so a damaged size field never decides an allocation.
bool CopyEntry(ResourceArchive& archive, const ArchiveEntry& entry, const fs::path& target)
{
    std::FILE* out = std::fopen(target.string().c_str(), "wb");
    if (out == nullptr) {
        std::fprintf(stderr, "vbftool: cannot write %s\n", target.string().c_str());
        return false;
    }
    archive.Seek(entry.offset);
    std::vector<char> piece(65536);
    uint32_t left = entry.size;
    bool written = true;
    while (left > 0 && !archive.Failed() && written) {
        const uint32_t count = std::min<uint32_t>(left, static_cast<uint32_t>(piece.size()));
        archive.Read(piece.data(), count);
        written = !archive.Failed() && std::fwrite(piece.data(), 1, count, out) == count;
        left -= count;
    }
    written = std::fclose(out) == 0 && written && !archive.Failed();
    if (!written) {
        std::fprintf(stderr, "vbftool: %s is cut short or unwritable\n", EntryName(entry).c_str());
    }
    return written;
}

int Extract(const char* archivePath, const fs::path& folder)
{
    ResourceArchive archive;
    if (!OpenForReading(archive, archivePath)) {
        return 1;
    }
    std::error_code error;
    fs::create_directories(folder, error);
    bool allWritten = !archive.Failed();
    for (const ArchiveEntry& entry : archive.Entries()) {
        const std::string name = EntryName(entry);
        if (!IsPlainFileName(name)) {
            std::fprintf(stderr, "vbftool: skipping the unsafe name \"%s\"\n", name.c_str());
            allWritten = false;
            continue;
        }
        if (!CopyEntry(archive, entry, folder / name)) {
            allWritten = false;
            break;  // the reader stays failed after a short read
        }
        std::printf("%s\n", name.c_str());
    }
    archive.Close();
    return allWritten ? 0 : 1;
}

std::vector<std::string> FilesToPack(int count, char** arguments)
{
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) {
        if (!fs::is_directory(arguments[i])) {
            files.push_back(arguments[i]);
            continue;
        }
        std::vector<std::string> inFolder;
        for (const fs::directory_entry& item : fs::directory_iterator(arguments[i])) {
            if (item.is_regular_file()) {
                inFolder.push_back(item.path().string());
            }
        }
        std::sort(inFolder.begin(), inFolder.end());
        files.insert(files.end(), inFolder.begin(), inFolder.end());
    }
    return files;
}

// Builds beside the target and replaces it only when whole, so a failed pack loses nothing.
int Pack(const char* archivePath, int count, char** arguments)
{
    const std::string partial = std::string(archivePath) + ".partial";
    ResourceArchive builder;
    if (!builder.Create(partial.c_str())) {
        std::fprintf(stderr, "vbftool: cannot create %s\n", partial.c_str());
        return 1;
    }
    bool packed = true;
    for (const std::string& file : FilesToPack(count, arguments)) {
        if (!builder.AddFile(file.c_str())) {
            std::fprintf(stderr, "vbftool: cannot store %s (missing, empty or name too long)\n", file.c_str());
            packed = false;
            break;
        }
    }
    packed = packed && builder.WriteArchive();
    builder.Close();
    std::error_code error;
    if (packed && !builder.Failed()) {
        fs::rename(partial, archivePath, error);
        if (!error) {
            return 0;
        }
    }
    std::fprintf(stderr, "vbftool: writing %s failed\n", archivePath);
    fs::remove(partial, error);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "list" && argc == 3) {
        return List(argv[2]);
    }
    if (command == "extract" && (argc == 3 || argc == 4)) {
        return Extract(argv[2], argc == 4 ? fs::path(argv[3]) : fs::current_path());
    }
    if (command == "pack" && argc >= 4) {
        return Pack(argv[2], argc - 3, argv + 3);
    }
    std::fputs(Usage, stderr);
    return 2;
}
