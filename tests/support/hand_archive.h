// hand_archive.h -- archives assembled byte by byte, so tests control every field.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "archive/resource_archive.h"

inline void PutLe32(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

inline uint32_t GetLe32(const std::vector<uint8_t>& bytes, size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

// Header, the stored files, then the table; the count and the records written are up to the test.
struct HandArchive {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(ArchiveHeaderSize, 0);
    std::vector<ArchiveEntry> table;

    HandArchive() { std::memcpy(bytes.data(), "VBF", 4); }

    void Store(const std::string& name, const std::string& contents)
    {
        ArchiveEntry entry = {};
        std::memcpy(entry.name, name.c_str(), std::min(name.size() + 1, sizeof entry.name));
        entry.size = static_cast<uint32_t>(contents.size());
        entry.offset = static_cast<uint32_t>(bytes.size());
        bytes.insert(bytes.end(), contents.begin(), contents.end());
        table.push_back(entry);
    }

    std::vector<uint8_t> Finish(int32_t count, size_t recordsWritten) const
    {
        std::vector<uint8_t> out = bytes;
        PutLe32(out, 12, static_cast<uint32_t>(count));
        PutLe32(out, 16, static_cast<uint32_t>(out.size()));
        for (size_t i = 0; i < recordsWritten; ++i) {
            const auto* record = reinterpret_cast<const uint8_t*>(&table[i]);
            out.insert(out.end(), record, record + ArchiveEntrySize);
        }
        return out;
    }

    std::vector<uint8_t> Finish() const { return Finish(static_cast<int32_t>(table.size()), table.size()); }
};

