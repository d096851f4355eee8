// The music ring: its fill loops inside a chunk without a gap and ends on streams that give
// nothing; its positions wrap at the end of the buffer.
#include <algorithm>
#include <climits>

#include "core/audio/chunk_fill.h"
#include "test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr long Decode = LONG_MAX;  // a scripted answer that decodes as the stream would

// A stream of `length` counting bytes, read at most `piece` bytes at a time; scripted answers
// (errors, early ends, claims) are given out first, one per read.
class FakeDecoder : public ChunkDecoder {
public:
    FakeDecoder(uint32_t length, uint32_t piece) : length(length), piece(piece) {}

    long Read(uint8_t* destination, uint32_t size) override
    {
        ++reads;
        const long answer = next < script.size() ? script[next++] : Decode;
        if (answer != Decode) {
            return answer;
        }
        if (position == length && answerAtEnd != 0) {
            return answerAtEnd;
        }
        const uint32_t count = std::min({size, piece, length - position});
        for (uint32_t i = 0; i < count; ++i) {
            destination[i] = ByteAt(position + i);
        }
        position += count;
        return static_cast<long>(count);
    }

    void SeekToStart() override { position = 0; }

    static uint8_t ByteAt(uint32_t index) { return static_cast<uint8_t>(index * 7 + index / 251 + 1); }

    uint32_t length, piece, position = 0;
    std::vector<long> script;
    size_t next = 0;
    long answerAtEnd = 0;  // what a read at the end gives instead of 0
    int reads = 0;
};

// What a gapless loop of the stream holds from stream position `start` on.
Bytes Looped(uint32_t length, uint32_t start, uint32_t size)
{
    Bytes out(size);
    for (uint32_t i = 0; i < size; ++i) {
        out[i] = FakeDecoder::ByteAt((start + i) % length);
    }
    return out;
}

constexpr uint32_t Chunk = 176400;
constexpr uint32_t Ring = 8 * Chunk;

}  // namespace

// Holes and bad links mid-stream, an end followed by a hole right after going back to the start,
// and fewer idle answers in a row than the limit each time data came between, are read past; an
// empty or ruined stream, or one that dies mid-chunk, ends after the limit with the rest silent.
TEST(ChunkFill, IdleAnswersAreReadPastUntilTooManyComeInARow)
{
    const struct {
        const char* what;
        uint32_t length;
        std::vector<long> script;
        long atEnd;
        uint32_t size, written;
        int reads;  // 0: any number
    } cases[] = {
        {"holes, bad links and an end followed by a hole", 1000,
            {-3, -137, 0, -3, 0, Decode, -3, -3, -3, -3, -3, -3, -3, Decode, -3, -3, -3, -3, -3, -3, -3}, 0, 10000,
            10000, 0},
        {"empty", 0, std::vector<long>(100, 0), 0, Chunk, 0, MaxIdleReads},
        {"only holes", 0, std::vector<long>(100, -3), 0, Chunk, 0, MaxIdleReads},
        {"ruined", 0, std::vector<long>(100, -128), 0, Chunk, 0, MaxIdleReads},
        {"dies mid-chunk", 5000, {}, -3, 20000, 5000, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeDecoder decoder(c.length, 400);
        decoder.script = c.script;
        decoder.answerAtEnd = c.atEnd;
        Bytes region(c.size, 0xEE);
        EXPECT_EQ(FillChunk(decoder, region.data(), c.size), c.written);
        Bytes expected = Looped(c.length, 0, c.written);
        expected.resize(c.size, 0);
        EXPECT_EQ(region, expected);
        EXPECT_TRUE(c.reads == 0 || decoder.reads == c.reads) << decoder.reads;
    }
}

TEST(ChunkFill, DecoderClaimingMoreThanAskedCannotOverrunTheRegion)
{
    FakeDecoder decoder(0, 0);
    decoder.script = {300, 800};  // 300 of 1000, then 800 where 700 were asked for
    Bytes region(1000);
    EXPECT_EQ(FillChunk(decoder, region.data(), 1000), 1000u);
    EXPECT_EQ(decoder.reads, 2);
}

// A resume decodes only what the stopped cursor lacks, so stops and resumes never move the
// writer further ahead than two chunks past the one being played.
TEST(ChunkFill, RingPositionsAndTheLeadToFill)
{
    const struct {
        uint32_t writeChunk, cursor, fills;
    } cases[] = {
        {0, 0, 2},                // a new ring: two chunks before the first play
        {5, 3 * Chunk + 100, 0},  // stopped with two ready
        {4, 3 * Chunk + 100, 1},  // stopped before the thread refilled
        {1, 7 * Chunk + 5, 0},    // ahead across the wrap
        {0, 7 * Chunk + 5, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChunksToFill(c.writeChunk * Chunk, c.cursor, Chunk, Ring, 2), c.fills)
            << "writer at chunk " << c.writeChunk << ", cursor " << c.cursor;
    }
    EXPECT_EQ(LeadStart(1 * Chunk, 7 * Chunk + 5, Chunk, Ring, 2), 1 * Chunk) << "two ahead across the wrap";
    EXPECT_EQ(LeadStart(4 * Chunk, 7 * Chunk + 5, Chunk, Ring, 2), 7 * Chunk) << "passed: on at the cursor";
    EXPECT_EQ(NextWriteOffset(6 * Chunk, Chunk, Ring), 7 * Chunk);
    EXPECT_EQ(NextWriteOffset(7 * Chunk, Chunk, Ring), 0u);
    EXPECT_EQ(NotificationOffset(0, Chunk), Chunk - 1) << "the last byte of each chunk";
    EXPECT_EQ(NotificationOffset(7, Chunk), Ring - 1);
}
