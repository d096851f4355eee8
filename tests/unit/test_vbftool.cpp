// The archive tool from outside: what it must not do it refuses, leaving every file as it was.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "hand_archive.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

int RunTool(const std::string& arguments) {
    const int status = std::system((std::string(VBFTOOL_PATH) + " " + arguments + " >tool.out 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

using ArchiveTool = TempDirTest;

// A failed pack keeps the old archive; extraction never writes outside its folder.
TEST_F(ArchiveTool, RefusalsLeaveEverythingAsItWas) {
    WriteFileBytes("a.bin", Bytes(100000, 7));
    ASSERT_EQ(RunTool("pack keep.vbf a.bin"), 0);
    const Bytes before = ReadFileBytes("keep.vbf");
    WriteFileBytes("empty.bin", {});
    EXPECT_EQ(RunTool("pack keep.vbf a.bin empty.bin"), 1);
    EXPECT_EQ(ReadFileBytes("keep.vbf"), before);
    EXPECT_FALSE(fs::exists("keep.vbf.partial"));

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
