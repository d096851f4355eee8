// display_fixture.h -- a real window and DirectDraw display for each test, and pixel readers.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "drawing/menu_button.h"
#include "stored_files.h"
#include "test_support.h"

// A stored bitmap decoded by the test itself, independent of the game's reader.
struct TestBitmap {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;   // 0x00RRGGBB, top row first
    uint32_t At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

TestBitmap DecodeBitmap(const Bytes& bytes);

// The generated game's graphics archive and its pictures.
std::string GameGraphicsPath();
Bytes GameEntry(const std::string& name);
TestBitmap GamePicture(const std::string& name);

using ArchiveFiles = std::vector<std::pair<std::string, Bytes>>;
// Writes "graphics.vbf" holding these entries into the current folder.
void WriteGraphicsArchive(const ArchiveFiles& files);
// Every entry of the generated graphics archive, in its order.
ArchiveFiles GameGraphicsFiles();

SIZE TextExtent(const char* text);   // in the screen's default font
TestBitmap Plain(int32_t width, int32_t height, uint32_t colour);

// Every pixel of a surface (0x00RRGGBB), top row first; empty when it cannot be locked.
TestBitmap ReadSurface(IDirectDrawSurface7* surface);

// The title's buttons, held here as the shell holds them in the game.
extern MenuButtonSet MenuButtons;

// Windowed display on a fresh window; temp folder as current directory; boxes recorded.
class DisplayTest : public TempDirTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Raw pixel of the primary surface at a game-area position.
    uint32_t ScreenPixel(int32_t x, int32_t y);
    // The game-area rectangle (left, top, width, height) as it stands on the screen now.
    TestBitmap ScreenArea(int32_t left, int32_t top, int32_t width, int32_t height);
    void FillScreen(uint32_t colour);
    // True when the text's ink in the default font, and nothing else, changed what lay `under` the
    // area at game-area (x, y), and its solid strokes have the text colour. Edges are smoothed, so
    // every pixel the ink touches counts.
    bool ShowsText(const char* text, int32_t x, int32_t y, const TestBitmap& under, uint32_t colour);
    void InstallGameGraphics();

    std::vector<RecordedBox> ownedBoxes;
};

// The display with the generated pictures loaded, the game area grey and the log empty.
constexpr uint32_t Grey = 0x808080;
class GameScreenTest : public DisplayTest {
protected:
    void SetUp() override;
    // Pixels of the game area at (left, top) that differ from the noise picture's window at (noiseLeft, noiseTop).
    int NoiseDifferences(int32_t left, int32_t top, int32_t width, int32_t height, int32_t noiseLeft, int32_t noiseTop);
};

std::vector<RecordedBox>& OwnedBoxes();

// Counts of pixels of `area` that differ from `expected` at the same place.
int CountDifferences(const TestBitmap& area, const TestBitmap& expected);
