// hand_archive.h -- archives assembled byte by byte, so tests control every field.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/archive/resource_archive.h"

using Bytes = std::vector<uint8_t>;

inline void PutLe16(Bytes& bytes, size_t at, uint32_t value)
{
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

inline void PutLe32(Bytes& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

inline uint32_t GetLe32(const Bytes& bytes, size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

// Header, the stored files, then the table; the count and the records written are up to the test.
struct HandArchive {
    Bytes bytes = Bytes(ArchiveHeaderSize, 0);
    std::vector<ArchiveEntry> table;

    HandArchive() { std::memcpy(bytes.data(), "VBF", 4); }

    void Store(const std::string& name, const std::string& text) { Store(name, Bytes(text.begin(), text.end())); }

    void Store(const std::string& name, const Bytes& contents)
    {
        ArchiveEntry entry = {};
        std::memcpy(entry.name, name.c_str(), std::min(name.size() + 1, sizeof entry.name));
        entry.size = static_cast<uint32_t>(contents.size());
        entry.offset = static_cast<uint32_t>(bytes.size());
        bytes.insert(bytes.end(), contents.begin(), contents.end());
        table.push_back(entry);
    }

    Bytes Finish(int32_t count, size_t recordsWritten) const
    {
        Bytes out = bytes;
        PutLe32(out, 12, static_cast<uint32_t>(count));
        PutLe32(out, 16, static_cast<uint32_t>(out.size()));
        for (size_t i = 0; i < recordsWritten; ++i) {
            const auto* record = reinterpret_cast<const uint8_t*>(&table[i]);
            out.insert(out.end(), record, record + ArchiveEntrySize);
        }
        return out;
    }

    Bytes Finish() const { return Finish(static_cast<int32_t>(table.size()), table.size()); }
};

struct StoredFile {
    std::string name;
    Bytes bytes;
    uint32_t claimedSize = 0;  // the table's size field; 0 means the real size
};

// Header, table, then the files in order: the last file ends the archive file, so one cut short
// makes its reads run out.
inline Bytes TableFirstArchive(const std::vector<StoredFile>& files)
{
    Bytes out(ArchiveHeaderSize + files.size() * ArchiveEntrySize, 0);
    std::memcpy(out.data(), "VBF", 4);
    PutLe32(out, 12, static_cast<uint32_t>(files.size()));
    PutLe32(out, 16, ArchiveHeaderSize);
    for (size_t i = 0; i < files.size(); ++i) {
        const size_t record = ArchiveHeaderSize + i * ArchiveEntrySize;
        std::memcpy(&out[record], files[i].name.c_str(), files[i].name.size() + 1);
        const uint32_t real = static_cast<uint32_t>(files[i].bytes.size());
        PutLe32(out, record + 264, files[i].claimedSize ? files[i].claimedSize : real);
        PutLe32(out, record + 268, static_cast<uint32_t>(out.size()));
        out.insert(out.end(), files[i].bytes.begin(), files[i].bytes.end());
    }
    return out;
}
