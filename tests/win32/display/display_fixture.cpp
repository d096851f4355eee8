// display_fixture.cpp -- window, display, pixel helpers and method refusals shared by the display tests.
#include "display_fixture.h"

#include <algorithm>
#include <cstring>

#include "core/archive/resource_archive.h"
#include "win32/display/bitmap_surface.h"
#include "win32/shell/main_window.h"
#include "win32/shell/owned_message_box.h"

MenuButtonSet MenuButtons;
std::vector<std::string> OwnedBoxes;

namespace {

int WINAPI RecordOwnedBox(HWND, LPCSTR text, LPCSTR caption, UINT)
{
    OwnedBoxes.push_back(std::string(caption) + ": " + text);
    return IDOK;
}

// The game's pictures in the order LoadGraphics builds them; a hover button larger than its normal one.
const std::pair<std::string, SIZE> PictureSizes[] = {{"titlescreen.bmp", {640, 480}}, {"background.bmp", {640, 480}},
    {"controls.bmp", {480, 360}}, {"block1.bmp", {24, 24}}, {"block1-ghost.bmp", {24, 24}}, {"block2.bmp", {24, 24}},
    {"block2-ghost.bmp", {24, 24}}, {"block3.bmp", {24, 24}}, {"block3-ghost.bmp", {24, 24}}, {"block4.bmp", {24, 24}},
    {"block4-ghost.bmp", {24, 24}}, {"block5.bmp", {24, 24}}, {"block5-ghost.bmp", {24, 24}}, {"block6.bmp", {24, 24}},
    {"block6-ghost.bmp", {24, 24}}, {"block7.bmp", {24, 24}}, {"block7-ghost.bmp", {24, 24}}, {"spark1.bmp", {24, 24}},
    {"spark2.bmp", {24, 24}}, {"spark3.bmp", {24, 24}}, {"topscores.bmp", {172, 153}}, {"static1.bmp", {640, 480}},
    {"static2.bmp", {64, 48}}, {"play-1.bmp", {120, 50}}, {"play-2.bmp", {120, 50}}, {"play-3.bmp", {120, 50}},
    {"scores-1.bmp", {180, 50}}, {"scores-2.bmp", {200, 60}}, {"scores-3.bmp", {180, 50}}, {"quit-1.bmp", {120, 50}},
    {"quit-2.bmp", {120, 50}}, {"quit-3.bmp", {120, 50}}};

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

HRESULT WINAPI FilteredBlt(
    IDirectDrawSurface7* self, RECT* to, IDirectDrawSurface7* source, RECT* from, DWORD flags, DDBLTFX* fx)
{
    const auto real = reinterpret_cast<decltype(&FilteredBlt)>(RealBlt);
    return RefusedBlit(source, to) ? RefusalCode : real(self, to, source, from, flags, fx);
}

}  // namespace

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
    RealBlt = ReplaceMethod(target, SurfaceBlt, reinterpret_cast<void*>(&FilteredBlt));
}

void StopRefusingBlits()
{
    RefusedBlit = [](IDirectDrawSurface7*, const RECT*) { return false; };
}

std::vector<IDirectDrawSurface7**> GamePictureSurfaces()
{
    std::vector<IDirectDrawSurface7**> all = {&TitleScreenSurface, &BackgroundSurface, &ControlsSurface};
    for (int i = 0; i < BlockPictureCount; ++i) {
        all.insert(all.end(), {&BlockSurfaces[i], &GhostBlockSurfaces[i]});
    }
    all.insert(all.end(),
        {&SparkSurfaces[0], &SparkSurfaces[1], &SparkSurfaces[2], &TopScoresSurface, &Static1Surface, &Static2Surface});
    for (MenuButton& button : MenuButtons) {
        all.insert(all.end(), {&button.image[0], &button.image[1], &button.image[2]});
    }
    return all;
}

ArchiveFiles GameGraphicsFiles()
{
    ArchiveFiles files;
    for (const auto& [name, size] : PictureSizes) {
        files.emplace_back(name, MakeBitmap(size.cx, size.cy, GamePicture(name).pixels));
    }
    return files;
}

TestBitmap GamePicture(const std::string& name)
{
    const auto* picture = std::find_if(
        std::begin(PictureSizes), std::end(PictureSizes), [&](const auto& entry) { return entry.first == name; });
    const auto [width, height] = picture->second;
    return {width, height, PatternPixels(width, height, static_cast<uint32_t>(picture - PictureSizes) + 1)};
}

void WriteGraphicsArchive(const ArchiveFiles& files)
{
    HandArchive archive;
    for (const auto& file : files) {
        archive.Store(file.first, file.second);
    }
    WriteFileBytes("graphics.vbf", archive.Finish());
}

TestBitmap ReadSurface(IDirectDrawSurface7* surface, RECT* area)
{
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    if (surface == nullptr || FAILED(surface->Lock(area, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr))) {
        return {};
    }
    EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 32u) << "the tests read 32-bit pixels";
    TestBitmap bitmap = area != nullptr
                            ? Plain(area->right - area->left, area->bottom - area->top, 0)
                            : Plain(static_cast<int32_t>(desc.dwWidth), static_cast<int32_t>(desc.dwHeight), 0);
    for (int32_t y = 0; y < bitmap.height; ++y) {
        const auto* row =
            reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(desc.lpSurface) + y * desc.lPitch);
        for (int32_t x = 0; x < bitmap.width; ++x) {
            bitmap.pixels[y * bitmap.width + x] = row[x] & 0xFFFFFF;
        }
    }
    surface->Unlock(area);
    return bitmap;
}

bool ScreenShows(int32_t left, int32_t top, const TestBitmap& expected)
{
    RECT area = {ScreenOffset.x + left, ScreenOffset.y + top, ScreenOffset.x + left + expected.width,
        ScreenOffset.y + top + expected.height};
    return ReadSurface(PrimarySurface, &area) == expected;
}

void FillSurface(IDirectDrawSurface7* surface, uint32_t colour, RECT* area)
{
    DDBLTFX fx = {};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = colour;
    ASSERT_EQ(surface->Blt(area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
}

TestBitmap WithText(TestBitmap onto, int32_t x, int32_t y, const char* text, Colour textColour, Colour background)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, onto.width, -onto.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(dc, section);
    std::memcpy(bits, onto.pixels.data(), onto.pixels.size() * 4);
    SetTextColor(dc, textColour);
    SetBkColor(dc, background);
    SetBkMode(dc, background == TransparentBackground ? TRANSPARENT : OPAQUE);
    TextOutA(dc, x, y, text, lstrlenA(text));
    GdiFlush();
    for (size_t i = 0; i < onto.pixels.size(); ++i) {
        onto.pixels[i] = static_cast<const uint32_t*>(bits)[i] & 0xFFFFFF;
    }
    SelectObject(dc, previous);
    DeleteObject(section);
    DeleteDC(dc);
    return onto;
}

SIZE TextExtent(const char* text)
{
    SIZE extent = {};
    HDC dc = CreateCompatibleDC(nullptr);
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
    DeleteDC(dc);
    return extent;
}

TestBitmap Plain(int32_t width, int32_t height, uint32_t colour)
{
    return {width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, colour)};
}

TestBitmap Cut(const TestBitmap& picture, int32_t left, int32_t top, int32_t width, int32_t height)
{
    TestBitmap part = Plain(width, height, 0);
    Paste(part, picture, -left, -top);
    return part;
}

void Paste(TestBitmap& onto, const TestBitmap& picture, int32_t left, int32_t top)
{
    for (int32_t y = std::max(0, top); y < std::min(onto.height, top + picture.height); ++y) {
        for (int32_t x = std::max(0, left); x < std::min(onto.width, left + picture.width); ++x) {
            onto.pixels[y * onto.width + x] = picture.At(x - left, y - top);
        }
    }
}

// One window for the whole run: destroying a shown window costs Wine about two seconds.
void DisplayTest::SetUp()
{
    TempDirTest::SetUp();
    WindowFrame = {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME), GetSystemMetrics(SM_CYCAPTION)};
    static const HWND window = CreateWindowExA(0, "STATIC", "Quadrone", WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 30, 20,
        GameAreaWidth + 2 * WindowFrame.frameWidth,
        GameAreaHeight + 2 * WindowFrame.frameHeight + WindowFrame.captionHeight, nullptr, nullptr, nullptr, nullptr);
    MainWindow = window;
    UpdateScreenOffset();
    OwnedBoxes.clear();
    OwnedMessageBox = RecordOwnedBox;
    ResetDataArchive();
    MenuButtons = {};
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

void GameScreenTest::SetUp()
{
    DisplayTest::SetUp();
    WriteGraphicsArchive(GameGraphicsFiles());
    LoadGraphics(MenuButtons);
    RECT gameArea = {ScreenOffset.x, ScreenOffset.y, ScreenOffset.x + GameAreaWidth, ScreenOffset.y + GameAreaHeight};
    FillSurface(PrimarySurface, Grey, &gameArea);
    ClearDebugLog();
}
