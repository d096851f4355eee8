// The archive tool from outside, where its packing and listing run in the end-to-end tests and the
// fuzzers' corpus: what it must not do.
#include <cstdlib>
#include <filesystem>

#include "hand_archive.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

int RunTool(const std::string& arguments)
{
    const int status = std::system((std::string(VBFTOOL_PATH) + " " + arguments + " >tool.out 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

using ArchiveTool = TempDirTest;

// Extraction never writes outside its folder; an unknown command is refused.
TEST_F(ArchiveTool, ExtractNeverWritesOutsideItsFolder)
{
    HandArchive hand;
    hand.Store("../escaped.txt", "no");
    hand.Store("sub/deeper.txt", "no");
    hand.Store("fine.txt", "yes");
    WriteFileBytes("evil.vbf", hand.Finish());
    fs::create_directory("target");
    EXPECT_EQ(RunTool("extract evil.vbf target"), 1);
    EXPECT_FALSE(fs::exists("escaped.txt"));
    EXPECT_FALSE(fs::exists("target/sub"));
    EXPECT_EQ(ReadFileBytes("target/fine.txt"), (Bytes{'y', 'e', 's'}));
    EXPECT_EQ(RunTool("frobnicate"), 2);
}
