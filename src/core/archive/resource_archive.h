// resource_archive.h -- the ".vbf" archive that holds the game's pictures and sounds.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

constexpr int ArchiveHeaderSize = 20;
constexpr int ArchiveEntrySize = 276;
constexpr int ArchiveNameSize = 260;

// One 276-byte table record, kept exactly as it was read.
struct ArchiveEntry {
    char name[ArchiveNameSize];
    uint8_t flag;
    uint8_t filler[3];
    uint32_t size;
    uint32_t offset;
    uint32_t reserved;
};
static_assert(sizeof(ArchiveEntry) == ArchiveEntrySize, "entry record must be 276 bytes");

class ResourceArchive {
public:
    ResourceArchive() = default;
    ~ResourceArchive();
    ResourceArchive(const ResourceArchive&) = delete;
    ResourceArchive& operator=(const ResourceArchive&) = delete;

    // Reading side.
    bool Open(const char* path);                            // true when open and its table was read; starts clean
    const ArchiveEntry* FindEntry(const char* name) const;  // first match, ASCII case ignored
    void Seek(uint32_t offset);                             // reports nothing; does nothing while failed
    void Read(void* buffer, uint32_t count);                // a short read enters the failed state
    bool Failed() const { return failed; }                  // lasts until the next Open
    void Close();                                           // closes the file and drops the table
    // Reads `count` bytes into `out` in 64 KB pieces, so that memory only grows with bytes really
    // there: a damaged size field cannot decide the allocation. False, and failed, when they run out.
    bool ReadPieces(std::vector<uint8_t>& out, uint64_t count);

    // The table in file order (for tools); entries whose record could not be read are absent.
    const std::vector<ArchiveEntry>& Entries() const { return entries; }

    // Building side.
    bool Create(const char* path);   // opens path for writing, truncating it
    bool AddFile(const char* path);  // refuses files that are missing or empty
    bool WriteArchive();             // header, stored files, table

private:
    struct PendingFile {
        std::string path;
        uint32_t size;
        uint32_t offset;
    };

    std::FILE* stream = nullptr;
    bool failed = false;
    char path[ArchiveNameSize] = {};
    int32_t entryCount = 0;
    uint32_t tableOffset = 0;
    std::vector<ArchiveEntry> entries;
    std::vector<PendingFile> pending;

    void ReadTable();
    void ReportMissingRecords(int32_t missing);
    bool CopyStoredFile(PendingFile& file);
    bool WriteTable();
    bool WriteHeader();
};

// The game's one reader, used in turn for both archives.
extern ResourceArchive DataArchive;
