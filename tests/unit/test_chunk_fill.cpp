// The music ring's fill: loops inside a chunk without a gap, and ends on streams that give nothing.
#include <algorithm>
#include <vector>

#include "audio/chunk_fill.h"
#include "test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A stream of `length` counting bytes, read at most `piece` bytes at a time; scripted answers
// (errors, early ends) are given out first, one per read.
class FakeDecoder : public ChunkDecoder {
public:
    FakeDecoder(uint32_t length, uint32_t piece) : length(length), piece(piece) {}

    long Read(uint8_t* destination, uint32_t size) override
    {
        ++reads;
        if (!script.empty()) {
            const long answer = script.front();
            script.erase(script.begin());
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

    void SeekToStart() override
    {
        ++seeks;
        position = 0;
    }

    static uint8_t ByteAt(uint32_t index) { return static_cast<uint8_t>(index * 7 + index / 251 + 1); }

    uint32_t length;
    uint32_t piece;
    uint32_t position = 0;
    std::vector<long> script;
    long answerAtEnd = 0;   // what a read at the end gives instead of 0
    int reads = 0;
    int seeks = 0;
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

}  // namespace

TEST(ChunkFill, ShortStreamFillsTheChunkWithWholePassesJoinedWithoutGap)
{
    FakeDecoder decoder(52920, 4096);   // 0.3 s of 16-bit stereo
    Bytes region(Chunk, 0xEE);
    EXPECT_EQ(FillChunk(decoder, region.data(), Chunk), Chunk);
    EXPECT_EQ(region, Looped(52920, 0, Chunk));
    EXPECT_EQ(decoder.seeks, 3);

    // The next chunk starts where this one stopped inside the fourth pass.
    EXPECT_EQ(FillChunk(decoder, region.data(), Chunk), Chunk);
    EXPECT_EQ(region, Looped(52920, Chunk % 52920, Chunk));
}

TEST(ChunkFill, LengthNotAMultipleOfTheChunkMovesTheLoopPointFromChunkToChunk)
{
    const uint32_t length = Chunk + Chunk / 2 + 4;   // about 1.5 s
    FakeDecoder decoder(length, 3000);
    Bytes first(Chunk), second(Chunk), third(Chunk);
    FillChunk(decoder, first.data(), Chunk);
    FillChunk(decoder, second.data(), Chunk);
    FillChunk(decoder, third.data(), Chunk);
    EXPECT_EQ(first, Looped(length, 0, Chunk));
    EXPECT_EQ(second, Looped(length, Chunk, Chunk));
    EXPECT_EQ(third, Looped(length, 2 * Chunk, Chunk));
    EXPECT_EQ(decoder.seeks, 1);
}

TEST(ChunkFill, ErrorsAreNotCountedAndDecodingGoesOnAfterThem)
{
    // Holes and bad links mid-stream, and an end followed by a hole right after going back to the
    // start, are idle answers to read past, not reasons to stop.
    FakeDecoder decoder(1000, 4096);
    decoder.script = {-3, -137, 0, -3, 0};
    Bytes region(10000);
    EXPECT_EQ(FillChunk(decoder, region.data(), 10000), 10000u);
    EXPECT_EQ(region, Looped(1000, 0, 10000));
}

TEST(ChunkFill, EmptyOrRuinedStreamEndsBoundedWithSilence)
{
    for (const long answer : {0L, -3L, -128L}) {
        SCOPED_TRACE(answer);
        FakeDecoder decoder(0, 4096);
        decoder.script.assign(1000, answer);
        Bytes region(Chunk, 0xEE);
        EXPECT_EQ(FillChunk(decoder, region.data(), Chunk), 0u);
        EXPECT_EQ(region, Bytes(Chunk, 0));
        EXPECT_EQ(decoder.reads, MaxIdleReads);
    }
}

TEST(ChunkFill, StreamThatDiesMidChunkKeepsWhatWasDecodedAndSilencesTheRest)
{
    FakeDecoder decoder(5000, 4096);
    decoder.answerAtEnd = -3;   // past its first pass the stream is nothing but damage
    Bytes region(20000, 0xEE);
    EXPECT_EQ(FillChunk(decoder, region.data(), 20000), 5000u);
    EXPECT_EQ(Bytes(region.begin(), region.begin() + 5000), Looped(5000, 0, 5000));
    EXPECT_EQ(Bytes(region.begin() + 5000, region.end()), Bytes(15000, 0));
}

TEST(ChunkFill, DecoderClaimingMoreThanAskedCannotOverrunTheRegion)
{
    class Liar : public ChunkDecoder {
    public:
        long Read(uint8_t*, uint32_t size) override { return static_cast<long>(size) + 100; }
        void SeekToStart() override {}
    } liar;
    Bytes region(1000);
    EXPECT_EQ(FillChunk(liar, region.data(), 1000), 1000u);
}

// A resume decodes only what the stopped cursor lacks, so stops and resumes never move the
// writer further ahead than two chunks past the one being played.
TEST(ChunkFill, ResumeFillsOnlyTheMissingLead)
{
    constexpr uint32_t Chunk = 176400;
    constexpr uint32_t Ring = 8 * Chunk;
    const struct {
        uint32_t writeChunk;
        uint32_t cursor;
        uint32_t fills;
    } cases[] = {
        {0, 0, 2},                   // a new ring: two chunks before the first play
        {5, 3 * Chunk + 100, 0},     // stopped with two ready
        {4, 3 * Chunk + 100, 1},     // stopped before the thread refilled
        {6, 3 * Chunk, 0},           // further ahead already
        {1, 7 * Chunk + 5, 0},       // ahead across the wrap
        {0, 7 * Chunk + 5, 1},
        {3, 3 * Chunk + Chunk - 1, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChunksToFill(c.writeChunk * Chunk, c.cursor, Chunk, Ring, 2), c.fills)
            << "writer at chunk " << c.writeChunk << ", cursor " << c.cursor;
    }
}
