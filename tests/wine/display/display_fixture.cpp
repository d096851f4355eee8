// display_fixture.cpp -- window, display, pixel helpers and method refusals shared by the display tests.
#include "display_fixture.h"

#include <cstdlib>
#include <cstring>
#include <deque>

#include "archive/resource_archive.h"
#include "display/bitmap_surface_win32.h"
#include "display/display_win32.h"
#include "drawing/menu_button.h"
#include "drawing/picture_set.h"
#include "log/debug_log.h"
#include "log/owned_message_box_win32.h"
#include "platform/main_window_win32.h"
#include "platform/screen.h"

namespace {

int WINAPI RecordOwnedBox(HWND, LPCSTR text, LPCSTR caption, UINT)
{
    OwnedBoxes().push_back({text, caption});
    return IDOK;
}

// One window for the whole run: destroying a shown window costs Wine about two seconds.
HWND SharedTestWindow()
{
    static HWND window = nullptr;
    if (window == nullptr) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QuadroneDisplayTest";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, "QuadroneDisplayTest", "Quadrone", WS_CAPTION | WS_SYSMENU, 30, 20,
                                 GameAreaWidth + 2 * GetSystemMetrics(SM_CXFRAME),
                                 GameAreaHeight + 2 * GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION),
                                 nullptr, nullptr, windowClass.hInstance, nullptr);
        ShowWindow(window, SW_SHOW);
    }
    return window;
}

std::string GameGraphicsPath()
{
    const char* folder = std::getenv("QUADRONE_GAME_DIR");
    return std::string(folder != nullptr ? folder : ".") + "/graphics.vbf";
}

uint32_t Le(const Bytes& bytes, size_t at, int count)
{
    uint32_t value = 0;
    while (count-- > 0) {
        value = value << 8 | bytes[at + count];
    }
    return value;
}

TestBitmap DecodeBitmap(const Bytes& bytes)
{
    TestBitmap bitmap;
    bitmap.width = static_cast<int32_t>(Le(bytes, 18, 4));
    bitmap.height = static_cast<int32_t>(Le(bytes, 22, 4));
    const int bytesPerPixel = static_cast<int>(Le(bytes, 28, 2)) / 8;
    const size_t stride = (static_cast<size_t>(bitmap.width) * bytesPerPixel + 3) / 4 * 4;
    for (int32_t y = bitmap.height - 1; y >= 0; --y) {
        for (int32_t x = 0; x < bitmap.width; ++x) {
            bitmap.pixels.push_back(Le(bytes, Le(bytes, 10, 4) + stride * y + static_cast<size_t>(x) * bytesPerPixel, 3));
        }
    }
    return bitmap;
}

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

// Kept for the process: an object whose method was replaced may outlive the test that did it.
std::deque<std::vector<void*>> MethodTables;
HRESULT RefusalCode = DD_OK;
ComMethod MadeObjectsRefuse = {};
void* RealCreate = nullptr;
BltFilter RefusedBlit = nullptr;
void* RealBlt = nullptr;

// Stands in for a method of any signature: on x64 the caller's arguments are simply left unread.
HRESULT WINAPI Refuse()
{
    return RefusalCode;
}

// CreateSurface and CreateClipper alike hand the new object out through their third argument.
HRESULT WINAPI CreateRefusing(void* self, void* what, void** made, void* outer)
{
    const HRESULT result = reinterpret_cast<decltype(&CreateRefusing)>(RealCreate)(self, what, made, outer);
    if (SUCCEEDED(result)) {
        RefuseMethod(*made, MadeObjectsRefuse, RefusalCode);
    }
    return result;
}

HRESULT WINAPI FilteredBlt(IDirectDrawSurface7* self, RECT* to, IDirectDrawSurface7* source, RECT* from, DWORD flags,
                           DDBLTFX* fx)
{
    return RefusedBlit(source, to) ? RefusalCode
                                   : reinterpret_cast<decltype(&FilteredBlt)>(RealBlt)(self, to, source, from, flags, fx);
}

}  // namespace

MenuButtonSet MenuButtons;

std::vector<RecordedBox>& OwnedBoxes()
{
    static std::vector<RecordedBox> boxes;
    return boxes;
}

void* ReplaceMethod(void* object, ComMethod method, void* replacement)
{
    void**& table = *static_cast<void***>(object);
    MethodTables.emplace_back(table, table + method.tableSize);
    MethodTables.back()[method.slot] = replacement;
    void* replaced = table[method.slot];
    table = MethodTables.back().data();
    return replaced;
}

void RefuseMethod(void* object, ComMethod method, HRESULT code)
{
    RefusalCode = code;
    ReplaceMethod(object, method, reinterpret_cast<void*>(&Refuse));
}

void RefuseInObjectsMade(void* object, ComMethod creator, ComMethod method, HRESULT code)
{
    RefusalCode = code;
    MadeObjectsRefuse = method;
    RealCreate = ReplaceMethod(object, creator, reinterpret_cast<void*>(&CreateRefusing));
}

void RefuseBlits(IDirectDrawSurface7* target, BltFilter refused, HRESULT code)
{
    RefusalCode = code;
    RefusedBlit = refused;
    RealBlt = ReplaceMethod(target, SurfaceMethod::Blt, reinterpret_cast<void*>(&FilteredBlt));
}

void StopRefusingBlits()
{
    RefusedBlit = [](IDirectDrawSurface7*, const RECT*) { return false; };
}

ArchiveFiles GameGraphicsFiles()
{
    static const Bytes archive = ReadFileBytes(GameGraphicsPath());
    ArchiveFiles files;
    for (size_t at = GetLe32(archive, 16); at + ArchiveEntrySize <= archive.size(); at += ArchiveEntrySize) {
        ArchiveEntry entry;
        std::memcpy(&entry, archive.data() + at, sizeof entry);
        files.emplace_back(entry.name, Bytes(archive.begin() + entry.offset, archive.begin() + entry.offset + entry.size));
    }
    return files;
}

TestBitmap GamePicture(const std::string& name)
{
    static const ArchiveFiles files = GameGraphicsFiles();
    for (const auto& file : files) {
        if (file.first == name) {
            return DecodeBitmap(file.second);
        }
    }
    ADD_FAILURE() << name << " is not in the game's graphics";
    return Plain(1, 1, 0);
}

void WriteGraphicsArchive(const ArchiveFiles& files)
{
    HandArchive archive;
    for (const auto& file : files) {
        archive.Store(file.first, file.second);
    }
    WriteFileBytes("graphics.vbf", archive.Finish());
}

TestBitmap ReadSurface(IDirectDrawSurface7* surface)
{
    return ReadLocked(surface, nullptr);
}

TestBitmap Plain(int32_t width, int32_t height, uint32_t colour)
{
    TestBitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.pixels.assign(static_cast<size_t>(width) * height, colour);
    return bitmap;
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

TestBitmap Cut(const TestBitmap& picture, int32_t left, int32_t top, int32_t width, int32_t height)
{
    TestBitmap part = Plain(width, height, 0);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            part.pixels[static_cast<size_t>(y) * width + x] = picture.At(left + x, top + y);
        }
    }
    return part;
}

SIZE TextExtent(const char* text)
{
    SIZE extent = {};
    HDC screen = GetDC(nullptr);
    GetTextExtentPoint32A(screen, text, lstrlenA(text), &extent);
    ReleaseDC(nullptr, screen);
    return extent;
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
    FullScreen = false;
    OwnedMessageBox = MessageBoxA;
    CreateDirectDraw = DirectDrawCreateEx;
    CreateDibSection = CreateDIBSection;
    TempDirTest::TearDown();
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
