// music_ring.cpp -- a single-writer, single-reader ring over the music chunks: the positions are
// atomics, so the device's callback never waits for the decoder.
#include "core/audio/music_ring.h"

#include <algorithm>
#include <new>

#include "core/audio/chunk_fill.h"
#include "core/audio/mixer.h"

namespace {

constexpr uint32_t FrameBytes = 4;

}  // namespace

bool MusicRing::Allocate()
{
    samples.reset(new (std::nothrow) int16_t[MusicRingSize / 2]);
    written.store(0);
    read.store(0);
    return samples != nullptr;
}

uint32_t MusicRing::ChunksWanted() const
{
    // The writer stays at most a lead past the reader, far less than the ring, so the positions in
    // the ring tell the distance.
    const uint64_t writer = written.load(std::memory_order_relaxed);
    const uint64_t reader = read.load(std::memory_order_acquire);
    return ChunksToFill(static_cast<uint32_t>(writer % MusicRingSize), static_cast<uint32_t>(reader % MusicRingSize),
        MusicChunkSize, MusicRingSize, MusicLeadChunks);
}

uint8_t* MusicRing::NextChunk()
{
    const uint64_t writer = written.load(std::memory_order_relaxed);
    if (!samples || writer + MusicChunkSize - read.load(std::memory_order_acquire) > MusicRingSize) {
        return nullptr;
    }
    return reinterpret_cast<uint8_t*>(samples.get()) + writer % MusicRingSize;
}

void MusicRing::Publish()
{
    written.fetch_add(MusicChunkSize, std::memory_order_release);
}

bool MusicRing::Mix(int32_t gain, int32_t* sum, uint32_t frames)
{
    const uint64_t reader = read.load(std::memory_order_relaxed);
    const uint64_t available = (written.load(std::memory_order_acquire) - reader) / FrameBytes;
    const uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(frames, available));
    uint32_t left = count;
    uint64_t at = reader;
    while (left > 0) {
        const uint32_t offset = static_cast<uint32_t>(at % MusicRingSize);
        const uint32_t piece = std::min(left, (MusicRingSize - offset) / FrameBytes);
        MixStereo(samples.get() + offset / 2, gain, sum, piece);
        sum += 2 * piece;
        at += uint64_t{piece} * FrameBytes;
        left -= piece;
    }
    read.store(at, std::memory_order_release);
    return count < frames || reader / MusicChunkSize != at / MusicChunkSize;
}
