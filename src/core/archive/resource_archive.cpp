// resource_archive.cpp -- reading and building ".vbf" archives.
#include "core/archive/resource_archive.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "core/log/debug_log.h"
#include "ports/message_box.h"

ResourceArchive DataArchive;

namespace {

// A damaged count must not hold the player behind thousands of modal boxes.
constexpr int32_t MaxMissingRecordNotices = 16;
constexpr uint32_t MaxArchivePosition = static_cast<uint32_t>(std::numeric_limits<int32_t>::max());

uint32_t ReadLe32(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void WriteLe32(uint8_t* bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// A stored name without its zero inside the field is damaged and matches nothing.
bool NamesMatch(const char (&stored)[ArchiveNameSize], const char* wanted)
{
    const size_t length = strnlen(stored, ArchiveNameSize);
    if (length == ArchiveNameSize) {
        return false;
    }
    for (size_t i = 0; i <= length; ++i) {
        if (LowerAscii(stored[i]) != LowerAscii(wanted[i])) {
            return false;
        }
    }
    return true;
}

const char* LastPathComponent(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return path.c_str() + (slash == std::string::npos ? 0 : slash + 1);
}

void CopyPath(char (&field)[ArchiveNameSize], const char* path)
{
    std::strncpy(field, path, ArchiveNameSize - 1);
    field[ArchiveNameSize - 1] = '\0';
}

}  // namespace

ResourceArchive::~ResourceArchive()
{
    if (stream != nullptr) {
        std::fclose(stream);
    }
}

// Each archive starts clean: a file still open is closed and an earlier failure forgotten, so
// one damaged or missing archive cannot silence the next one opened on the same reader.
bool ResourceArchive::Open(const char* archivePath)
{
    if (stream != nullptr) {
        std::fclose(stream);
    }
    entries.clear();
    CopyPath(path, archivePath);
    stream = std::fopen(archivePath, "rb");
    failed = stream == nullptr;
    if (failed) {
        return false;
    }

    // A file too short for its header is treated like a wrong signature.
    uint8_t header[ArchiveHeaderSize] = {};
    const size_t got = std::fread(header, 1, sizeof header, stream);
    if (got < sizeof header || std::memcmp(header, "VBF", 4) != 0) {
        ShowMessageBox("Invalid signature", "Error");
        failed = failed || std::fclose(stream) != 0;
        stream = nullptr;
        return false;
    }

    entryCount = static_cast<int32_t>(ReadLe32(header + 12));
    tableOffset = ReadLe32(header + 16);
    Seek(tableOffset);
    ReadTable();
    return true;
}

void ResourceArchive::ReadTable()
{
    entries.clear();
    for (int32_t i = 0; i < entryCount; ++i) {
        ArchiveEntry entry;
        Read(&entry, sizeof entry);
        if (failed) {
            ReportMissingRecords(entryCount - i);
            return;
        }
        entries.push_back(entry);
    }
}

// Once one record read fails every later one fails too; records that were never read are
// not kept, so they cannot match a name.
void ResourceArchive::ReportMissingRecords(int32_t missing)
{
    const int32_t notices = missing < MaxMissingRecordNotices ? missing : MaxMissingRecordNotices;
    for (int32_t i = 0; i < notices; ++i) {
        ShowMessageBox("Failed while reading on node creation", "Notice");
    }
    if (missing > notices) {
        char line[ArchiveNameSize + 64];
        std::snprintf(
            line, sizeof line, "Archive entry table is %ld records short: %s", static_cast<long>(missing), path);
        WriteDebugLog(line);
    }
}

const ArchiveEntry* ResourceArchive::FindEntry(const char* name) const
{
    for (const ArchiveEntry& entry : entries) {
        if (NamesMatch(entry.name, name)) {
            return &entry;
        }
    }
    return nullptr;
}

void ResourceArchive::Seek(uint32_t offset)
{
    if (failed) {
        return;
    }
    if (stream == nullptr || offset > MaxArchivePosition ||
        std::fseek(stream, static_cast<long>(offset), SEEK_SET) != 0) {
        failed = true;
    }
}

void ResourceArchive::Read(void* buffer, uint32_t count)
{
    if (failed || stream == nullptr) {
        failed = true;
        return;
    }
    if (std::fread(buffer, 1, count, stream) < count) {
        failed = true;
    }
}

bool ResourceArchive::ReadPieces(std::vector<uint8_t>& out, uint64_t count)
{
    constexpr uint32_t Piece = 64 * 1024;
    out.clear();
    while (out.size() < count && !failed) {
        const size_t done = out.size();
        const uint32_t piece = static_cast<uint32_t>(std::min<uint64_t>(Piece, count - done));
        out.resize(done + piece);
        Read(out.data() + done, piece);
    }
    return !failed;
}

void ResourceArchive::Close()
{
    if (stream == nullptr || std::fclose(stream) != 0) {
        failed = true;
    }
    stream = nullptr;
    entries.clear();
}

bool ResourceArchive::Create(const char* archivePath)
{
    if (stream != nullptr) {
        return false;
    }
    CopyPath(path, archivePath);
    stream = std::fopen(archivePath, "wb");
    entryCount = 0;
    pending.clear();
    return stream != nullptr;
}

bool ResourceArchive::AddFile(const char* filePath)
{
    std::FILE* file = std::fopen(filePath, "rb");
    if (file == nullptr) {
        return false;
    }
    long length = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        length = std::ftell(file);
    }
    std::fclose(file);

    const std::string fullPath = filePath;
    if (length < 1 || static_cast<unsigned long>(length) > MaxArchivePosition ||
        std::strlen(LastPathComponent(fullPath)) >= ArchiveNameSize) {
        return false;
    }
    pending.push_back({fullPath, static_cast<uint32_t>(length), 0});
    ++entryCount;
    return true;
}

bool ResourceArchive::WriteArchive()
{
    if (stream == nullptr) {
        return false;
    }
    tableOffset = 0;
    if (!WriteHeader()) {
        return false;
    }
    for (PendingFile& file : pending) {
        if (!CopyStoredFile(file)) {
            return false;
        }
    }
    const long tableStart = std::ftell(stream);
    if (tableStart < 0 || static_cast<unsigned long>(tableStart) > MaxArchivePosition) {
        return false;
    }
    tableOffset = static_cast<uint32_t>(tableStart);
    return WriteTable() && WriteHeader() && std::fflush(stream) == 0 && !std::ferror(stream);
}

bool ResourceArchive::WriteHeader()
{
    uint8_t header[ArchiveHeaderSize] = {'V', 'B', 'F', 0, 0x00, 0x01};
    WriteLe32(header + 12, static_cast<uint32_t>(entryCount));
    WriteLe32(header + 16, tableOffset);
    return std::fseek(stream, 0, SEEK_SET) == 0 && std::fwrite(header, 1, sizeof header, stream) == sizeof header;
}

// Appends one stored file whole; its recorded size is what was actually copied.
bool ResourceArchive::CopyStoredFile(PendingFile& file)
{
    if (std::fseek(stream, 0, SEEK_END) != 0) {
        return false;
    }
    const long start = std::ftell(stream);
    std::FILE* source = std::fopen(file.path.c_str(), "rb");
    if (source == nullptr || start < 0) {
        if (source != nullptr) {
            std::fclose(source);
        }
        return false;
    }
    uint64_t copied = 0;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, source)) > 0) {
        if (std::fwrite(buffer, 1, got, stream) != got) {
            break;
        }
        copied += got;
    }
    const bool readAll = !std::ferror(source) && std::feof(source);
    std::fclose(source);
    if (!readAll || copied == 0 || static_cast<uint64_t>(start) + copied > MaxArchivePosition) {
        return false;
    }
    file.offset = static_cast<uint32_t>(start);
    file.size = static_cast<uint32_t>(copied);
    return true;
}

bool ResourceArchive::WriteTable()
{
    for (const PendingFile& file : pending) {
        ArchiveEntry entry = {};
        CopyPath(entry.name, LastPathComponent(file.path));
        entry.size = file.size;
        entry.offset = file.offset;
        if (std::fwrite(&entry, 1, sizeof entry, stream) != sizeof entry) {
            return false;
        }
    }
    return true;
}
