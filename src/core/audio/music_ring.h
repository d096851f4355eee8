// music_ring.h -- the decoded music between the thread that decodes it and the device that plays it:
// whole one-second chunks written a lead ahead of the reader, frames read behind the writer, and
// never the same bytes at the same time.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

constexpr uint32_t MusicChunkSize = 176400;  // bytes: one second of 44100 Hz 16-bit stereo
constexpr uint32_t MusicRingSize = 8 * MusicChunkSize;
constexpr uint32_t MusicLeadChunks = 2;  // decoded past the chunk being played, as on Windows

// One writer thread and one reader thread; Allocate only while neither runs.
class MusicRing {
public:
    bool Allocate();  // an empty ring; false when the memory is not there

    // The writer's side.
    uint32_t ChunksWanted() const;  // chunks to decode so that the lead is there again
    uint8_t* NextChunk();           // where the next chunk goes; none when the ring is full
    void Publish();                 // the chunk at NextChunk may be played

    // The reader's side: adds up to `frames` stereo frames at `gain` to the sum, fewer when the
    // writer is behind (the music then goes on later where it was). True when the writer has work:
    // the read entered a new chunk or ran out.
    bool Mix(int32_t gain, int32_t* sum, uint32_t frames);

private:
    std::unique_ptr<int16_t[]> samples;
    std::atomic<uint64_t> written{0};  // bytes ever published
    std::atomic<uint64_t> read{0};     // bytes ever played
};
