// chunk_fill.cpp -- the music ring's fill arithmetic, free of the platform so it is tested natively.
#include "core/audio/chunk_fill.h"

#include <cstring>

uint32_t FillChunk(ChunkDecoder& decoder, uint8_t* region, uint32_t size)
{
    uint32_t written = 0;
    int idleReads = 0;
    while (written < size && idleReads < MaxIdleReads) {
        const long result = decoder.Read(region + written, size - written);
        if (result > 0) {
            // A decoder that claims more than it was given must not move the writer past the region.
            written += result > static_cast<long>(size - written) ? size - written : static_cast<uint32_t>(result);
            idleReads = 0;
            continue;
        }
        ++idleReads;
        // An error is not counted as bytes; the decoder goes on after a hole.
        if (result == 0) {
            decoder.SeekToStart();
        }
    }
    if (written < size) {
        std::memset(region + written, 0, size - written);
    }
    return written;
}

uint32_t NextWriteOffset(uint32_t writeOffset, uint32_t chunkSize, uint32_t bufferSize)
{
    const uint32_t next = writeOffset + chunkSize;
    return next >= bufferSize ? 0 : next;
}

namespace {

// Whole chunks from the one the play cursor is in to the writer, around the ring.
uint32_t ChunksAhead(uint32_t writeOffset, uint32_t playCursor, uint32_t chunkSize, uint32_t bufferSize)
{
    const uint32_t chunks = bufferSize / chunkSize;
    return (writeOffset / chunkSize + chunks - playCursor % bufferSize / chunkSize) % chunks;
}

}  // namespace

uint32_t ChunksToFill(uint32_t writeOffset, uint32_t playCursor, uint32_t chunkSize, uint32_t bufferSize, uint32_t lead)
{
    const uint32_t ahead = ChunksAhead(writeOffset, playCursor, chunkSize, bufferSize);
    return ahead < lead ? lead - ahead : 0;
}

uint32_t LeadStart(uint32_t writeOffset, uint32_t playCursor, uint32_t chunkSize, uint32_t bufferSize, uint32_t lead)
{
    // Filling never puts the writer more than `lead` chunks ahead: further means the cursor passed it.
    if (ChunksAhead(writeOffset, playCursor, chunkSize, bufferSize) <= lead) {
        return writeOffset;
    }
    return playCursor % bufferSize / chunkSize * chunkSize;
}

uint32_t NotificationOffset(uint32_t index, uint32_t chunkSize)
{
    return (index + 1) * chunkSize - 1;
}
