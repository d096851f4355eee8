// display_fixture.cpp -- window, display and pixel helpers shared by the display tests.
#include "display_fixture.h"

#include "log/owned_message_box_win32.h"

#include <cstdlib>
#include <cstring>

#include "archive/resource_archive.h"
#include "display/display_win32.h"
#include "drawing/menu_button.h"
#include "drawing/picture_set.h"
#include "log/debug_log.h"
#include "platform/main_window_win32.h"
#include "platform/screen.h"
#include "hand_archive.h"

namespace {

constexpr DWORD WindowedStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

int WINAPI RecordOwnedBox(HWND, LPCSTR text, LPCSTR caption, UINT)
{
    OwnedBoxes().push_back({text, caption});
    return IDOK;
}

// One window for the whole run: destroying a shown window costs Wine about two seconds.
HWND SharedTestWindow()
{
    static HWND window = nullptr;
    if (window != nullptr) {
        return window;
    }
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuadroneDisplayTest";
    RegisterClassA(&windowClass);
    const int width = GameAreaWidth + 2 * GetSystemMetrics(SM_CXFRAME);
    const int height = GameAreaHeight + 2 * GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION);
    window = CreateWindowExA(0, "QuadroneDisplayTest", "Quadrone", WindowedStyle, 30, 20, width, height,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return window;
}

uint32_t Le(const Bytes& bytes, size_t at, int count)
{
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = value << 8 | bytes[at + i];
    }
    return value;
}

}  // namespace

MenuButtonSet MenuButtons;

std::vector<RecordedBox>& OwnedBoxes()
{
    static std::vector<RecordedBox> boxes;
    return boxes;
}

TestBitmap DecodeBitmap(const Bytes& bytes)
{
    TestBitmap bitmap;
    const uint32_t offBits = Le(bytes, 10, 4);
    bitmap.width = static_cast<int32_t>(Le(bytes, 18, 4));
    bitmap.height = static_cast<int32_t>(Le(bytes, 22, 4));
    const int bitCount = static_cast<int>(Le(bytes, 28, 2));
    const size_t stride = (static_cast<size_t>(bitmap.width) * bitCount + 31) / 32 * 4;
    bitmap.pixels.resize(static_cast<size_t>(bitmap.width) * bitmap.height);
    for (int32_t y = 0; y < bitmap.height; ++y) {
        for (int32_t x = 0; x < bitmap.width; ++x) {
            const size_t at = offBits + stride * (bitmap.height - 1 - y) + static_cast<size_t>(x) * (bitCount / 8);
            bitmap.pixels[static_cast<size_t>(y) * bitmap.width + x] = Le(bytes, at, 3);
        }
    }
    return bitmap;
}

std::string GameGraphicsPath()
{
    const char* folder = std::getenv("QUADRONE_GAME_DIR");
    return std::string(folder != nullptr ? folder : ".") + "/graphics.vbf";
}

ArchiveFiles GameGraphicsFiles()
{
    static const std::vector<uint8_t> archive = ReadFileBytes(GameGraphicsPath());
    ArchiveFiles files;
    for (size_t at = GetLe32(archive, 16); at + ArchiveEntrySize <= archive.size(); at += ArchiveEntrySize) {
        ArchiveEntry entry;
        std::memcpy(&entry, archive.data() + at, sizeof entry);
        files.emplace_back(entry.name, Bytes(archive.begin() + entry.offset, archive.begin() + entry.offset + entry.size));
    }
    return files;
}

Bytes GameEntry(const std::string& name)
{
    static const ArchiveFiles files = GameGraphicsFiles();
    for (const auto& file : files) {
        if (file.first == name) {
            return file.second;
        }
    }
    ADD_FAILURE() << name << " is not in " << GameGraphicsPath();
    return MakeBitmap(1, 1, {0});
}

TestBitmap GamePicture(const std::string& name)
{
    return DecodeBitmap(GameEntry(name));
}

void WriteGraphicsArchive(const ArchiveFiles& files)
{
    HandArchive archive;
    for (const auto& file : files) {
        archive.Store(file.first, file.second);
    }
    WriteFileBytes("graphics.vbf", archive.Finish());
}

namespace {

TestBitmap ReadLocked(IDirectDrawSurface7* surface, RECT* area)
{
    TestBitmap bitmap;
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    if (surface == nullptr || FAILED(surface->Lock(area, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr))) {
        return bitmap;
    }
    EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 32u) << "the tests read 32-bit pixels";
    bitmap.width = area != nullptr ? area->right - area->left : static_cast<int32_t>(desc.dwWidth);
    bitmap.height = area != nullptr ? area->bottom - area->top : static_cast<int32_t>(desc.dwHeight);
    for (int32_t y = 0; y < bitmap.height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(desc.lpSurface) +
                                                            static_cast<size_t>(y) * desc.lPitch);
        for (int32_t x = 0; x < bitmap.width; ++x) {
            bitmap.pixels.push_back(row[x] & 0xFFFFFF);
        }
    }
    surface->Unlock(area);
    return bitmap;
}

}  // namespace

TestBitmap ReadSurface(IDirectDrawSurface7* surface)
{
    return ReadLocked(surface, nullptr);
}

void DisplayTest::SetUp()
{
    TempDirTest::SetUp();
    OwnedBoxes().clear();
    ResetDataArchive();
    OwnedMessageBox = RecordOwnedBox;
    FullScreen = false;
    MainWindow = SharedTestWindow();
    WindowFrame = {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME), GetSystemMetrics(SM_CYCAPTION)};
    UpdateScreenOffset();
    for (MenuButton& button : MenuButtons) {
        button = {};
    }
    ASSERT_EQ(InitDirectDraw(MainWindow), ResultOk);
}

void DisplayTest::TearDown()
{
    ShutdownDisplay(MenuButtons);
    MainWindow = nullptr;
    FullScreen = false;
    OwnedMessageBox = MessageBoxA;
    TempDirTest::TearDown();
}

uint32_t DisplayTest::ScreenPixel(int32_t x, int32_t y)
{
    const TestBitmap one = ScreenArea(x, y, 1, 1);
    return one.pixels.empty() ? 0xFFFFFFFFu : one.pixels[0];
}

TestBitmap DisplayTest::ScreenArea(int32_t left, int32_t top, int32_t width, int32_t height)
{
    RECT area = {ScreenOffset.x + left, ScreenOffset.y + top, ScreenOffset.x + left + width,
                 ScreenOffset.y + top + height};
    return ReadLocked(PrimarySurface, &area);
}

void DisplayTest::FillScreen(uint32_t colour)
{
    RECT area = {ScreenOffset.x, ScreenOffset.y, ScreenOffset.x + GameAreaWidth, ScreenOffset.y + GameAreaHeight};
    DDBLTFX fx = {};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = colour;
    ASSERT_EQ(PrimarySurface->Blt(&area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
}

void DisplayTest::InstallGameGraphics()
{
    ASSERT_TRUE(CopyFileA(GameGraphicsPath().c_str(), "graphics.vbf", FALSE)) << GameGraphicsPath();
}

void GameScreenTest::SetUp()
{
    DisplayTest::SetUp();
    InstallGameGraphics();
    LoadGraphics(MenuButtons);
    FillScreen(Grey);
    ClearDebugLog();
}

int GameScreenTest::NoiseDifferences(int32_t left, int32_t top, int32_t width, int32_t height, int32_t noiseLeft,
                                     int32_t noiseTop)
{
    static const TestBitmap noise = GamePicture("static1.bmp");
    const TestBitmap area = ScreenArea(left, top, width, height);
    int differences = 0;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            differences += area.At(x, y) != noise.At(noiseLeft + x, noiseTop + y);
        }
    }
    return differences;
}

int CountDifferences(const TestBitmap& area, const TestBitmap& expected)
{
    if (area.width != expected.width || area.height != expected.height) {
        return -1;
    }
    int differences = 0;
    for (size_t i = 0; i < area.pixels.size(); ++i) {
        differences += area.pixels[i] != expected.pixels[i];
    }
    return differences;
}

SIZE TextExtent(const char* text)
{
    SIZE extent = {};
    HDC screen = GetDC(nullptr);
    GetTextExtentPoint32A(screen, text, lstrlenA(text), &extent);
    ReleaseDC(nullptr, screen);
    return extent;
}

TestBitmap Plain(int32_t width, int32_t height, uint32_t colour)
{
    TestBitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.pixels.assign(static_cast<size_t>(width) * height, colour);
    return bitmap;
}

namespace {

// White text on black in a memory DC: true where the ink touches a pixel.
std::vector<bool> InkOf(const char* text, SIZE extent)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, extent.cx > 0 ? extent.cx : 1, extent.cy);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    SetBkColor(dc, RGB(0, 0, 0));
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutA(dc, 0, 0, text, lstrlenA(text));
    std::vector<bool> ink;
    for (LONG y = 0; y < extent.cy; ++y) {
        for (LONG x = 0; x < extent.cx; ++x) {
            ink.push_back(GetPixel(dc, x, y) != RGB(0, 0, 0));
        }
    }
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return ink;
}

}  // namespace

bool DisplayTest::ShowsText(const char* text, int32_t x, int32_t y, const TestBitmap& under, uint32_t colour)
{
    const SIZE extent = TextExtent(text);
    const std::vector<bool> ink = InkOf(text, extent);
    const TestBitmap area = ScreenArea(x, y, under.width, under.height);
    bool coloured = false;
    for (int32_t row = 0; row < area.height; ++row) {
        for (int32_t column = 0; column < area.width; ++column) {
            const bool inked =
                column < extent.cx && row < extent.cy && ink[static_cast<size_t>(row) * extent.cx + column];
            if ((area.At(column, row) != under.At(column, row)) != inked) {
                return false;
            }
            coloured = coloured || area.At(column, row) == colour;
        }
    }
    return coloured;
}
