// chunk_fill.h -- fills one region of the looping music ring from a decoder, without a gap at the loop.
#pragma once

#include <cstdint>

// The music decoder as the fill sees it.
class ChunkDecoder {
public:
    virtual ~ChunkDecoder() = default;
    // Decodes at most `length` bytes: the count (> 0), 0 at the end of the stream, or a negative error.
    virtual long Read(uint8_t* destination, uint32_t length) = 0;
    // Goes back to the first sample.
    virtual void SeekToStart() = 0;
};

// Non-positive answers in a row after which a stream counts as empty or ruined; a healthy
// stream needs at most two (the end, then a hole right after the seek).
constexpr int MaxIdleReads = 8;

// Decodes `size` bytes into region, going back to sample 0 whenever the stream ends. A stream that
// yields nothing for MaxIdleReads answers leaves the rest of the region silent. Returns the bytes decoded.
uint32_t FillChunk(ChunkDecoder& decoder, uint8_t* region, uint32_t size);

// The ring position after one more chunk: whole chunks, back to 0 at the end of the buffer.
uint32_t NextWriteOffset(uint32_t writeOffset, uint32_t chunkSize, uint32_t bufferSize);

// Chunks to decode so that the writer is `lead` whole chunks past the chunk the play cursor is in;
// none when it already is that far ahead or further.
uint32_t ChunksToFill(
    uint32_t writeOffset, uint32_t playCursor, uint32_t chunkSize, uint32_t bufferSize, uint32_t lead);

// Where the writer goes on: where it is, or at the start of the chunk being played when the cursor
// has passed it (a writer held up for long), so that stale music stops at once.
uint32_t LeadStart(uint32_t writeOffset, uint32_t playCursor, uint32_t chunkSize, uint32_t bufferSize, uint32_t lead);

// Where the i-th notification sits: the last byte of chunk i.
uint32_t NotificationOffset(uint32_t index, uint32_t chunkSize);
