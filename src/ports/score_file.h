// score_file.h -- reading and replacing "quadrone.dat" on the platform's file calls.
#pragma once

#include <cstdint>

// Reads up to `capacity` bytes from the start of the file; false when it cannot be opened.
bool ReadHighScoreFile(const char* path, uint8_t* buffer, uint32_t capacity, uint32_t* got);

// Replaces the file as a whole, so that a save cut short leaves either its old bytes or these;
// where no new file can be made beside it, writes it in place instead. A read-only file is never
// written. False when nothing could be written.
bool WriteHighScoreFile(const char* path, const uint8_t* bytes, uint32_t size);
