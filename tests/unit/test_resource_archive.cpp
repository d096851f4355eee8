// Archive layout, lookups, and what damaged or truncated archives do to the reader.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>

#include "archive/resource_archive.h"
#include "log/debug_log.h"
#include "hand_archive.h"
#include "test_support.h"

namespace {

std::string ReadEntry(ResourceArchive& archive, const ArchiveEntry* entry)
{
    std::string contents(entry->size, '\0');
    archive.Seek(entry->offset);
    archive.Read(&contents[0], entry->size);
    return contents;
}

Bytes ToBytes(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

size_t CountBoxes(const std::string& text, const std::string& caption)
{
    size_t count = 0;
    for (const RecordedBox& box : RecordedMessageBoxes()) {
        count += box.text == text && box.caption == caption;
    }
    return count;
}

}  // namespace

using ArchiveBuilder = TempDirTest;
using ArchiveReader = TempDirTest;
using DamagedArchive = TempDirTest;

TEST_F(ArchiveBuilder, TwoFilesGiveTheDocumentedLayout)
{
    std::filesystem::create_directory("in");
    WriteFileBytes("in/first.bin", ToBytes("0123456789"));
    WriteFileBytes("in/second.bin", ToBytes("abcdefghijklmnopqrst"));

    ResourceArchive builder;
    ASSERT_TRUE(builder.Create("out.vbf"));
    ASSERT_TRUE(builder.AddFile("in/first.bin"));
    ASSERT_TRUE(builder.AddFile("in/second.bin"));
    ASSERT_TRUE(builder.WriteArchive());
    builder.Close();

    const std::vector<uint8_t> out = ReadFileBytes("out.vbf");
    ASSERT_EQ(out.size(), 602u);
    EXPECT_EQ(std::memcmp(out.data(), "VBF\0\0\x01", 6), 0);
    EXPECT_EQ(GetLe32(out, 8), 0u);
    EXPECT_EQ(GetLe32(out, 12), 2u);
    EXPECT_EQ(GetLe32(out, 16), 50u);
    EXPECT_EQ(std::string(out.begin() + 20, out.begin() + 50), "0123456789abcdefghijklmnopqrst");
    EXPECT_STREQ(reinterpret_cast<const char*>(&out[50]), "first.bin");
    EXPECT_EQ(GetLe32(out, 50 + 264), 10u);
    EXPECT_EQ(GetLe32(out, 50 + 268), 20u);
    EXPECT_STREQ(reinterpret_cast<const char*>(&out[326]), "second.bin");
    EXPECT_EQ(GetLe32(out, 326 + 264), 20u);
    EXPECT_EQ(GetLe32(out, 326 + 268), 30u);
    EXPECT_EQ(out[50 + 260], 0);
}

TEST_F(ArchiveBuilder, RefusesWhatItCannotStore)
{
    WriteFileBytes("empty.bin", {});
    WriteFileBytes("gone.bin", ToBytes("soon gone"));
    ResourceArchive builder;
    EXPECT_FALSE(builder.WriteArchive()) << "nothing created yet";
    EXPECT_FALSE(builder.AddFile("missing.bin"));
    EXPECT_FALSE(builder.AddFile("empty.bin"));
    EXPECT_FALSE(builder.AddFile((std::string(300, 'n') + ".bin").c_str()));

    ASSERT_TRUE(builder.Create("out.vbf"));
    EXPECT_FALSE(builder.Create("other.vbf")) << "one archive at a time";
    ASSERT_TRUE(builder.AddFile("gone.bin"));
    std::filesystem::remove("gone.bin");
    EXPECT_FALSE(builder.WriteArchive());
}

TEST_F(ArchiveReader, RoundTripWithCaseInsensitiveFirstMatch)
{
    HandArchive hand;
    hand.Store("block1.bmp", "first block");
    hand.Store("Block1.BMP", "shadowed duplicate");
    hand.Store("zap2.wav", "zap");
    WriteFileBytes("graphics.vbf", hand.Finish());
    HandArchive audio;
    audio.Store("rotate.wav", "click");
    WriteFileBytes("audio.vbf", audio.Finish());

    ResourceArchive archive;
    ASSERT_TRUE(archive.Open("graphics.vbf"));
    const ArchiveEntry* block = archive.FindEntry("BLOCK1.BMP");
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(ReadEntry(archive, block), "first block");
    ASSERT_NE(archive.FindEntry("zap2.wav"), nullptr);
    EXPECT_EQ(ReadEntry(archive, archive.FindEntry("ZAP2.wav")), "zap");
    EXPECT_EQ(archive.FindEntry("block1"), nullptr);
    EXPECT_EQ(archive.FindEntry("block1.bmp2"), nullptr);
    EXPECT_FALSE(archive.Failed());
    EXPECT_TRUE(RecordedMessageBoxes().empty());

    archive.Close();
    EXPECT_EQ(archive.FindEntry("zap2.wav"), nullptr);
    // The game opens its archives one after another with the one reader.
    ASSERT_TRUE(archive.Open("audio.vbf"));
    EXPECT_EQ(archive.FindEntry("block1.bmp"), nullptr);
    EXPECT_EQ(ReadEntry(archive, archive.FindEntry("rotate.wav")), "click");
    archive.Close();
    EXPECT_FALSE(archive.Failed());
}

TEST_F(ArchiveReader, EmptyTableOpensAndFindsNothing)
{
    WriteFileBytes("a.vbf", HandArchive().Finish());
    ResourceArchive archive;
    ASSERT_TRUE(archive.Open("a.vbf"));
    EXPECT_EQ(archive.FindEntry("anything"), nullptr);
    EXPECT_FALSE(archive.Failed());
}

TEST_F(ArchiveReader, SignatureChecksOnlyTheFirstFourBytes)
{
    HandArchive hand;
    hand.Store("x.bin", "x");
    std::vector<uint8_t> bytes = hand.Finish();
    for (int i = 4; i < 12; ++i) {
        bytes[i] = 0xA5;
    }
    WriteFileBytes("odd.vbf", bytes);
    ResourceArchive archive;
    EXPECT_TRUE(archive.Open("odd.vbf"));
    EXPECT_TRUE(RecordedMessageBoxes().empty());
}

// A wrong signature closes the file without poisoning the reader for the next archive.
TEST_F(DamagedArchive, WrongSignaturesAreRefusedWithABox)
{
    HandArchive good;
    good.Store("rotate.wav", "ok");
    WriteFileBytes("good.vbf", good.Finish());
    std::vector<uint8_t> lower = good.Finish();
    std::memcpy(lower.data(), "vbf", 4);
    WriteFileBytes("lower.vbf", lower);
    std::vector<uint8_t> noZero = good.Finish();
    noZero[3] = 'X';
    WriteFileBytes("nozero.vbf", noZero);
    WriteFileBytes("short.vbf", ToBytes(std::string("VBF\0\0\1", 6)));
    WriteFileBytes("empty.vbf", {});

    ResourceArchive archive;
    for (const char* name : {"lower.vbf", "nozero.vbf", "short.vbf", "empty.vbf"}) {
        SCOPED_TRACE(name);
        ClearRecordedMessageBoxes();
        EXPECT_FALSE(archive.Open(name));
        EXPECT_EQ(CountBoxes("Invalid signature", "Error"), 1u);
        EXPECT_FALSE(archive.Failed());
    }
    ASSERT_TRUE(archive.Open("good.vbf")) << "the file was closed after each refusal";
    EXPECT_EQ(ReadEntry(archive, archive.FindEntry("rotate.wav")), "ok");
}

TEST_F(DamagedArchive, TableAFewRecordsShortGivesOneNoticeEach)
{
    HandArchive hand;
    for (int i = 0; i < 5; ++i) {
        hand.Store("entry" + std::to_string(i), "data" + std::to_string(i));
    }
    WriteFileBytes("cut.vbf", hand.Finish(5, 2));

    ResourceArchive archive;
    ASSERT_TRUE(archive.Open("cut.vbf"));
    EXPECT_EQ(CountBoxes("Failed while reading on node creation", "Notice"), 3u);
    EXPECT_EQ(RecordedMessageBoxes().size(), 3u);
    EXPECT_TRUE(archive.Failed());

    // Readable entries are found, but the failed reader can no longer seek to them.
    const ArchiveEntry* first = archive.FindEntry("entry0");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(archive.FindEntry("entry4"), nullptr);
    std::string buffer(5, '?');
    archive.Seek(first->offset);
    archive.Read(&buffer[0], 5);
    EXPECT_EQ(buffer, "?????");
    EXPECT_TRUE(archive.Failed());
}

TEST_F(DamagedArchive, ImpossibleCountIsBoundedInTimeMemoryAndBoxes)
{
    HandArchive hand;
    hand.Store("block1.bmp", std::string(700, 'b'));
    WriteFileBytes("huge.vbf", hand.Finish(2147483647, 1));

    const auto start = std::chrono::steady_clock::now();
    ResourceArchive archive;
    ASSERT_TRUE(archive.Open("huge.vbf"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(archive.Entries().size(), 1u);
    EXPECT_LE(RecordedMessageBoxes().size(), 16u);
    EXPECT_GE(RecordedMessageBoxes().size(), 3u);
    ASSERT_FALSE(ReadDebugLog().empty());
    EXPECT_NE(ReadDebugLog().back().find("records short"), std::string::npos);
}

TEST_F(DamagedArchive, TableOffsetOutsideTheFile)
{
    for (uint32_t offset : {5000u, 0x80000000u, 0xFFFFFFF0u}) {
        SCOPED_TRACE(offset);
        HandArchive hand;
        hand.Store("x.bin", "x");
        std::vector<uint8_t> bytes = hand.Finish();
        PutLe32(bytes, 16, offset);
        WriteFileBytes("far.vbf", bytes);
        ClearRecordedMessageBoxes();
        ResourceArchive archive;
        ASSERT_TRUE(archive.Open("far.vbf"));
        EXPECT_EQ(RecordedMessageBoxes().size(), 1u);
        EXPECT_EQ(archive.FindEntry("x.bin"), nullptr);
        EXPECT_TRUE(archive.Failed());
    }
}

// A name that fills its whole field without a zero must never be read past its end.
TEST_F(DamagedArchive, UnterminatedNameMatchesNothing)
{
    HandArchive hand;
    hand.Store("placeholder", "data");
    hand.Store("after.bin", "after");
    std::memset(hand.table[0].name, 'a', ArchiveNameSize);
    WriteFileBytes("names.vbf", hand.Finish());

    ResourceArchive archive;
    ASSERT_TRUE(archive.Open("names.vbf"));
    EXPECT_EQ(archive.FindEntry(std::string(ArchiveNameSize, 'a').c_str()), nullptr);
    EXPECT_EQ(archive.FindEntry(std::string(ArchiveNameSize - 1, 'a').c_str()), nullptr);
    EXPECT_NE(archive.FindEntry("after.bin"), nullptr);
}

// Within one open archive a failure lasts; the next Open starts clean, so one damaged or missing
// archive cannot silence the other, and a file left open is closed rather than kept.
TEST_F(DamagedArchive, FailedStateLastsUntilTheNextOpen)
{
    HandArchive hand;
    hand.Store("x.bin", "xyz");
    WriteFileBytes("good.vbf", hand.Finish());

    ResourceArchive archive;
    EXPECT_FALSE(archive.Open("missing.vbf"));
    EXPECT_TRUE(archive.Failed());
    archive.Close();
    EXPECT_TRUE(archive.Failed());
    ASSERT_TRUE(archive.Open("good.vbf"));
    EXPECT_FALSE(archive.Failed());

    std::vector<char> buffer(10000);
    archive.Seek(archive.FindEntry("x.bin")->offset);
    archive.Read(buffer.data(), static_cast<uint32_t>(buffer.size()));
    EXPECT_TRUE(archive.Failed());
    archive.Seek(archive.FindEntry("x.bin")->offset);
    EXPECT_TRUE(archive.Failed()) << "a seek does not clear a failed read";

    ASSERT_TRUE(archive.Open("good.vbf")) << "an open file is closed and the reader starts clean";
    EXPECT_FALSE(archive.Failed());
    EXPECT_EQ(ReadEntry(archive, archive.FindEntry("x.bin")), "xyz");
    archive.Close();
    EXPECT_FALSE(archive.Failed());
    EXPECT_TRUE(RecordedMessageBoxes().empty());

    ResourceArchive closeTwice;
    closeTwice.Close();
    EXPECT_TRUE(closeTwice.Failed());
}
