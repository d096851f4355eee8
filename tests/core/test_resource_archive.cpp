// Archive layout, lookups, and what damaged or truncated archives do to the reader.
#include <cstring>
#include <filesystem>
#include <tuple>

#include "hand_archive.h"
#include "test_support.h"

namespace {

std::string ReadEntry(ResourceArchive& archive, const char* name)
{
    const ArchiveEntry* entry = archive.FindEntry(name);
    if (entry == nullptr) {
        return "(none)";
    }
    std::string contents(entry->size, '\0');
    archive.Seek(entry->offset);
    archive.Read(&contents[0], entry->size);
    return contents;
}

std::vector<std::string> BoxTexts()
{
    std::vector<std::string> texts;
    for (const RecordedBox& box : RecordedMessageBoxes()) {
        texts.push_back(box.caption + ": " + box.text);
    }
    return texts;
}

}  // namespace

using ArchiveBuilder = TempDirTest;
using DamagedArchive = TempDirTest;

TEST_F(ArchiveBuilder, TwoFilesGiveTheDocumentedLayoutAndReadBack)
{
    const std::string big(300, 'b');
    std::filesystem::create_directory("in");
    WriteFileBytes("in/first.bin", Bytes(big.begin(), big.end()));
    WriteFileBytes("in/second.bin", {'a', 'b', 'c'});
    ResourceArchive builder;
    ASSERT_TRUE(builder.Create("out.vbf"));
    ASSERT_TRUE(builder.AddFile("in/first.bin"));
    ASSERT_TRUE(builder.AddFile("in/second.bin"));
    ASSERT_TRUE(builder.WriteArchive());
    builder.Close();

    // Header (signature, version 1, count, table offset), the files, then one record per file.
    const Bytes out = ReadFileBytes("out.vbf");
    ASSERT_EQ(out.size(), 20u + 303 + 2 * 276);
    const Bytes header = {'V', 'B', 'F', 0, 0, 1, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 67, 1, 0, 0};
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 20), header);
    const std::tuple<int, const char*, uint32_t, uint32_t> records[] = {
        {323, "first.bin", 300, 20}, {599, "second.bin", 3, 320}};
    for (const auto& [at, name, size, offset] : records) {
        EXPECT_STREQ(reinterpret_cast<const char*>(&out[at]), name);
        EXPECT_EQ(GetLe32(out, at + 264), size);
        EXPECT_EQ(GetLe32(out, at + 268), offset);
    }

    ResourceArchive reader;
    ASSERT_TRUE(reader.Open("out.vbf"));
    EXPECT_EQ(ReadEntry(reader, "FIRST.BIN"), big);
    EXPECT_EQ(ReadEntry(reader, "second.bin"), "abc");
    EXPECT_EQ(reader.FindEntry("second.bin2"), nullptr) << "a name matches whole";
}

// A table cut short or out of the file: one notice per missing record up to 16, the rest
// logged; entries read before the cut are found, but the failed reader reads nothing more.
TEST_F(DamagedArchive, DamagedTablesAreBoundedAndLeaveTheReaderFailed)
{
    const struct {
        int32_t count;
        size_t records;
        uint32_t tableOffset;  // 0: where the table really is
        size_t boxes;
        const char* log;
    } cases[] = {
        {5, 2, 0, 3, nullptr},
        {2147483647, 1, 0, 16, "Archive entry table is 2147483646 records short: t.vbf"},
        {1, 1, 5000, 1, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " records at " << c.tableOffset);
        std::remove(".\\debug.log");
        ClearRecordedMessageBoxes();
        HandArchive hand;
        for (int i = 0; i < 5; ++i) {
            hand.Store("entry" + std::to_string(i), "data" + std::to_string(i));
        }
        Bytes bytes = hand.Finish(c.count, c.records);
        if (c.tableOffset != 0) {
            PutLe32(bytes, 16, c.tableOffset);
        }
        WriteFileBytes("t.vbf", bytes);
        ResourceArchive archive;
        ASSERT_TRUE(archive.Open("t.vbf"));
        EXPECT_EQ(BoxTexts(), std::vector<std::string>(c.boxes, "Notice: Failed while reading on node creation"));
        EXPECT_EQ(ReadDebugLog(), c.log ? std::vector<std::string>{c.log} : std::vector<std::string>{});
        EXPECT_TRUE(archive.Failed());
        EXPECT_EQ(archive.Entries().size(), c.tableOffset ? 0u : c.records);
        EXPECT_EQ(ReadEntry(archive, "entry4"), "(none)");
        if (c.tableOffset == 0) {
            EXPECT_EQ(ReadEntry(archive, "entry0"), std::string(5, '\0')) << "found, but not read";
        }
    }
}
