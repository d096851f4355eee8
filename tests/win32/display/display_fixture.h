// display_fixture.h -- a real window and DirectDraw display for each test, pixel readers, and
// single DirectDraw methods made to fail for the failure tables (with copies of their objects'
// method tables: Wine fails none of these calls by itself).
#pragma once

#include <ddraw.h>
#include <windows.h>

#include "com_method_win32.h"
#include "core/log/debug_log.h"
#include "core/shell/screen.h"
#include "ports/drawing.h"
#include "stored_files.h"
#include "test_support.h"
#include "win32/display/display.h"

// A picture as the test reads it, independent of the game's reader: 0x00RRGGBB, top row first.
struct TestBitmap {
    int32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool operator==(const TestBitmap& o) const { return width == o.width && height == o.height && pixels == o.pixels; }
};
TestBitmap Plain(int32_t width, int32_t height, uint32_t colour);
TestBitmap Cut(const TestBitmap& picture, int32_t left, int32_t top, int32_t width, int32_t height);
void Paste(TestBitmap& onto, const TestBitmap& picture, int32_t left, int32_t top);  // clipped to `onto`
// The whole surface, or `area` of it; empty when it cannot be locked.
TestBitmap ReadSurface(IDirectDrawSurface7* surface, RECT* area = nullptr);
void FillSurface(IDirectDrawSurface7* surface, uint32_t colour, RECT* area = nullptr);
// Whether the game-area rectangle at (left, top) shows `expected` now.
bool ScreenShows(int32_t left, int32_t top, const TestBitmap& expected);
SIZE TextExtent(const char* text);  // in the default font
// The picture with the text drawn on it at (x, y) by GDI itself, in the default font;
// TransparentBackground draws no box behind the text.
TestBitmap WithText(TestBitmap onto, int32_t x, int32_t y, const char* text, Colour textColour, Colour background);

// The game's picture set, each picture a pattern of its own at its proper size: its archive
// entries and the surfaces they go to, in the order LoadGraphics builds them.
using ArchiveFiles = std::vector<std::pair<std::string, Bytes>>;
ArchiveFiles GameGraphicsFiles();
std::vector<IDirectDrawSurface7**> GamePictureSurfaces();
TestBitmap GamePicture(const std::string& name);
void WriteGraphicsArchive(const ArchiveFiles& files);  // "graphics.vbf" in the current folder

// The DirectDraw methods the failure tables refuse.
const ComMethod DrawCreateClipper = Method(&IDirectDraw7::CreateClipper),
                DrawCreateSurface = Method(&IDirectDraw7::CreateSurface),
                DrawSetCooperativeLevel = Method(&IDirectDraw7::SetCooperativeLevel),
                DrawSetDisplayMode = Method(&IDirectDraw7::SetDisplayMode),
                DrawRestoreAllSurfaces = Method(&IDirectDraw7::RestoreAllSurfaces);
const ComMethod SurfaceBlt = Method(&IDirectDrawSurface7::Blt), SurfaceGetDC = Method(&IDirectDrawSurface7::GetDC),
                SurfaceSetClipper = Method(&IDirectDrawSurface7::SetClipper),
                ClipperSetHWnd = Method(&IDirectDrawClipper::SetHWnd);

// The method does nothing but answer `code`.
void RefuseMethod(void* object, ComMethod method, HRESULT code);
// Every object that `creator` of `object` makes from now on refuses `method` with `code`.
void RefuseInObjectsMade(void* object, ComMethod creator, ComMethod method, HRESULT code);
// Blits onto `target` for which `refused` holds answer `code` until StopRefusingBlits; the others are made.
using BltFilter = bool (*)(IDirectDrawSurface7* source, const RECT* destination);
void RefuseBlits(IDirectDrawSurface7* target, BltFilter refused, HRESULT code);
void StopRefusingBlits();

extern std::vector<std::string> OwnedBoxes;  // "caption: text"
extern MenuButtonSet MenuButtons;            // held here as the shell holds them in the game
inline auto RowName = [](const auto& info) { return std::string(info.param.name); };

// Windowed display on a shared window; temp folder as current directory; boxes recorded.
struct DisplayTest : TempDirTest {
    void SetUp() override;
    void TearDown() override;
};

// The display with the pictures loaded, the game area grey and the log empty.
constexpr uint32_t Grey = 0x808080;
struct GameScreenTest : DisplayTest {
    void SetUp() override;
};
