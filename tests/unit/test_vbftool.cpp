// The archive tool: a pack, list and extract round trip, and what it refuses to do.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "hand_archive.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

int RunTool(const std::string& arguments) {
    const std::string command = std::string(VBFTOOL_PATH) + " " + arguments + " >tool.out 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ToolOutput() {
    const std::vector<uint8_t> bytes = ReadFileBytes("tool.out");
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

using ArchiveTool = TempDirTest;

TEST_F(ArchiveTool, PackListExtractRoundTrip) {
    fs::create_directory("pictures");
    WriteFileBytes("pictures/block1.bmp", {'B', 'M', 1, 2, 3});
    WriteFileBytes("pictures/titlescreen.bmp", std::vector<uint8_t>(100000, 7));

    ASSERT_EQ(RunTool("pack graphics.vbf pictures"), 0) << ToolOutput();
    ASSERT_EQ(RunTool("list graphics.vbf"), 0);
    EXPECT_NE(ToolOutput().find("block1.bmp"), std::string::npos);
    EXPECT_NE(ToolOutput().find("100000"), std::string::npos);

    ASSERT_EQ(RunTool("extract graphics.vbf out"), 0) << ToolOutput();
    EXPECT_EQ(ReadFileBytes("out/block1.bmp"), ReadFileBytes("pictures/block1.bmp"));
    EXPECT_EQ(ReadFileBytes("out/titlescreen.bmp"), ReadFileBytes("pictures/titlescreen.bmp"));
}

TEST_F(ArchiveTool, FailedPackKeepsTheOldArchive) {
    WriteFileBytes("a.bin", {1});
    ASSERT_EQ(RunTool("pack keep.vbf a.bin"), 0);
    const std::vector<uint8_t> before = ReadFileBytes("keep.vbf");
    WriteFileBytes("empty.bin", {});
    EXPECT_EQ(RunTool("pack keep.vbf a.bin empty.bin"), 1);
    EXPECT_EQ(ReadFileBytes("keep.vbf"), before);
    EXPECT_FALSE(fs::exists("keep.vbf.partial"));
}

TEST_F(ArchiveTool, ExtractNeverWritesOutsideItsFolder) {
    HandArchive hand;
    hand.Store("../escaped.txt", "no");
    hand.Store("sub/deeper.txt", "no");
    hand.Store("fine.txt", "yes");
    WriteFileBytes("evil.vbf", hand.Finish());
    fs::create_directory("target");

    EXPECT_EQ(RunTool("extract evil.vbf target"), 1);
    EXPECT_FALSE(fs::exists("escaped.txt"));
    EXPECT_FALSE(fs::exists("target/sub"));
    EXPECT_EQ(ReadFileBytes("target/fine.txt"), (std::vector<uint8_t>{'y', 'e', 's'}));
}

TEST_F(ArchiveTool, DamagedArchivesAndUnknownCommandsFail) {
    HandArchive hand;
    hand.Store("big.bin", "tiny");
    hand.table[0].size = 0xFFFFFFF0u;   // far more than the file holds
    WriteFileBytes("lying.vbf", hand.Finish());
    EXPECT_EQ(RunTool("extract lying.vbf out"), 1);
    EXPECT_NE(ToolOutput().find("cut short"), std::string::npos);
    EXPECT_EQ(RunTool("frobnicate"), 2);
}
