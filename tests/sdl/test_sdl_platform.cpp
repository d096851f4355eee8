// The SDL shell's ways in and out: the command line, SDL's keys in the codes the core uses, the
// score file's save on POSIX calls, and start-up with its log.
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/log/debug_log.h"
#include "ports/score_file.h"
#include "sdl/input/key_map.h"
#include "sdl/shell/shell.h"
#include "test_support.h"

TEST(SdlCommandLine, OnlyASingleFullArgumentStartsFullScreen)
{
    const struct {
        std::vector<const char*> arguments;
        bool full;
    } cases[] = {{{"quadrone"}, false}, {{"quadrone", "/full"}, true}, {{"quadrone", "/FULL"}, true},
        {{"quadrone", "--full"}, true}, {{"quadrone", "--FULL"}, false}, {{"quadrone", "/full", "now"}, false},
        {{"quadrone", "full"}, false}};
    for (const auto& c : cases) {
        std::vector<char*> argv;
        for (const char* argument : c.arguments) {
            argv.push_back(const_cast<char*>(argument));
        }
        EXPECT_EQ(IsFullScreenArguments(static_cast<int>(argv.size()), argv.data()), c.full) << argv.back();
    }
}

// The game keys reach the snapshot under DirectInput's numbers; key-downs come as Windows' virtual
// keys, letters and digits as the layout names them (the key in Q's place types A on AZERTY).
TEST(SdlKeyMap, KeysHaveTheCodesTheCoreUses)
{
    const struct {
        SDL_Scancode scancode;
        SDL_Keycode symbol;
        uint8_t snapshot;
        uint8_t virtualKey;
    } keys[] = {
        {SDL_SCANCODE_LEFT, SDLK_LEFT, 203, 0x25},
        {SDL_SCANCODE_RIGHT, SDLK_RIGHT, 205, 0x27},
        {SDL_SCANCODE_DOWN, SDLK_DOWN, 208, 0x28},
        {SDL_SCANCODE_SPACE, SDLK_SPACE, 57, 0x20},
        {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 0x01, 0x1B},
        {SDL_SCANCODE_Q, SDLK_q, 0x10, 'Q'},
        {SDL_SCANCODE_Q, SDLK_a, 0x10, 'A'},
        {SDL_SCANCODE_M, SDLK_m, 0x32, 'M'},
        {SDL_SCANCODE_Z, SDLK_z, 0x2C, 'Z'},
        {SDL_SCANCODE_1, SDLK_1, 0x02, '1'},
        {SDL_SCANCODE_0, SDLK_0, 0x0B, '0'},
        {SDL_SCANCODE_F1, SDLK_F1, 0x3B, 0x70},
        {SDL_SCANCODE_F2, SDLK_F2, 0x3C, 0x71},
        {SDL_SCANCODE_F6, SDLK_F6, 0x40, 0x75},
        {SDL_SCANCODE_F12, SDLK_F12, 0x58, 0x7B},
        {SDL_SCANCODE_RETURN, SDLK_RETURN, 0x1C, 0x0D},
        {SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, 0x0E, 0x08},
        {SDL_SCANCODE_KP_1, SDLK_KP_1, 0x4F, 0x61},
        {SDL_SCANCODE_KP_0, SDLK_KP_0, 0x52, 0x60},
        {SDL_SCANCODE_MUTE, SDLK_MUTE, 0, 0},
    };
    for (const auto& key : keys) {
        SCOPED_TRACE(SDL_GetScancodeName(key.scancode));
        EXPECT_EQ(SnapshotCode(key.scancode), key.snapshot);
        EXPECT_EQ(VirtualKey(key.scancode, key.symbol), key.virtualKey);
    }
}

namespace {
using ScoreFile = TempDirTest;
const std::vector<uint8_t> OldTable(120, 'o');
const std::vector<uint8_t> NewTable(120, 'n');
}  // namespace

// The new table replaces the old one whole, keeps its permissions, and leaves no partial file, not
// even one an earlier save left behind. Without write permission the table is the player's to
// keep, even for root. A short file reads as far as it goes.
TEST_F(ScoreFile, SaveReplacesAWritableTableWholeAndNeverAReadOnlyOne)
{
    for (const mode_t mode : {0600, 0444}) {
        SCOPED_TRACE(mode == 0600 ? "writable" : "read-only");
        std::filesystem::remove("quadrone.dat");
        WriteFileBytes("quadrone.dat", OldTable);
        chmod("quadrone.dat", mode);
        WriteFileBytes("quadrone.dat.new", {1, 2, 3});
        EXPECT_EQ(WriteHighScoreFile("quadrone.dat", NewTable.data(), 120), mode == 0600);
        EXPECT_EQ(ReadFileBytes("quadrone.dat"), mode == 0600 ? NewTable : OldTable);
        EXPECT_FALSE(std::filesystem::exists("quadrone.dat.new"));
        struct stat info = {};
        ASSERT_EQ(stat("quadrone.dat", &info), 0);
        EXPECT_EQ(info.st_mode & 0777, mode);
    }

    uint8_t buffer[120] = {};
    uint32_t got = 0;
    WriteFileBytes("short.dat", std::vector<uint8_t>(50, 'x'));
    ASSERT_TRUE(ReadHighScoreFile("short.dat", buffer, 120, &got));
    EXPECT_EQ(got, 50u);
    EXPECT_FALSE(ReadHighScoreFile("missing.dat", buffer, 120, &got));
}

namespace {

class SdlStartUp : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        setenv("XDG_DATA_HOME", folder.c_str(), 1);
    }
    void TearDown() override
    {
        Shutdown();
        unsetenv("XDG_DATA_HOME");
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        TempDirTest::TearDown();
    }
    // The log in the player's folder.
    static std::vector<std::string> Log()
    {
        std::vector<std::string> lines;
        std::ifstream in(std::filesystem::path(SaveFolder) / "debug.log");
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }
};

}  // namespace

// The Windows build's progress lines, in order, in the player's data folder. Whether a sound
// device opened is the audio's to log.
TEST_F(SdlStartUp, WritesTheWindowsProgressLinesIntoThePlayersFolder)
{
    char name[] = "quadrone";
    char* argv[] = {name};
    int exitCode = -1;
    ASSERT_TRUE(StartUp(1, argv, exitCode));
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(std::string(SaveFolder), folder + "/Quadrone/");
    const std::vector<std::string> log = Log();
    const std::vector<std::string> start = {
        "-----------------", "Initializing...", "Window Created", "DirectDraw initialized", "DirectInput initialized"};
    ASSERT_GE(log.size(), start.size());
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + start.size()), start);
    auto at = log.begin() + start.size();
    for (const char* line : {"Graphics loaded", "Sounds loaded", "Starting game..."}) {
        at = std::find(at, log.end(), line);
        EXPECT_NE(at, log.end()) << line << " missing or out of order";
    }
    EXPECT_TRUE(std::filesystem::exists(folder + "/Quadrone/quadrone.dat"));
}

TEST_F(SdlStartUp, AWindowThatCannotBeMadeEndsTheProgram)
{
    setenv("SDL_VIDEODRIVER", "none-such", 1);
    char name[] = "quadrone";
    char* argv[] = {name};
    int exitCode = 0;
    EXPECT_FALSE(StartUp(1, argv, exitCode));
    EXPECT_EQ(exitCode, 1);
    const std::vector<std::string> expected = {"-----------------", "Initializing...", "Error initializing window"};
    EXPECT_EQ(Log(), expected);
}
