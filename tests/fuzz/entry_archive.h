// entry_archive.h -- puts a fuzz input into an archive held in memory as its one entry named
// `name`, and opens the real reader on it, so every run reaches the entry's parser.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>

#include "core/log/debug_log.h"
#include "hand_archive.h"
#include "ports/message_box.h"

void ShowMessageBox(const char*, const char*)
{
}

inline bool OpenEntryArchive(ResourceArchive& archive, const char* name, const uint8_t* data, size_t size)
{
    static const int memory = [] {
        // No log file: an append under a path that cannot exist fails at once.
        std::snprintf(DataFolder, DataPathSize, "/dev/null/");
        std::snprintf(SaveFolder, DataPathSize, "/dev/null/");
        return memfd_create("fuzz-entry.vbf", 0);
    }();
    static char path[64];
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", memory);

    const Bytes file = TableFirstArchive({{name, Bytes(data, data + size)}});
    if (memory < 0 || ftruncate(memory, 0) != 0 ||
        pwrite(memory, file.data(), file.size(), 0) != static_cast<ssize_t>(file.size())) {
        return false;
    }
    return archive.Open(path);
}
