// Bitmap loading: stored pictures reach surfaces pixel for pixel; every failure is reported and contained.
#include "display_fixture.h"

#include "archive/resource_archive.h"
#include "display/bitmap_surface_win32.h"
#include "display/display_win32.h"
#include "log/debug_log.h"

namespace {

constexpr int32_t PatternWidth = 10;   // 30 bytes of 24-bit pixels: each row is padded
constexpr int32_t PatternHeight = 3;

class BitmapLoading : public DisplayTest {
protected:
    void OpenArchive(const ArchiveFiles& files)
    {
        WriteGraphicsArchive(files);
        ASSERT_TRUE(DataArchive.Open(".\\graphics.vbf"));
        ClearDebugLog();
    }

    void FillSurface(IDirectDrawSurface7* surface, uint32_t colour)
    {
        DDBLTFX fx = {};
        fx.dwSize = sizeof fx;
        fx.dwFillColor = colour;
        ASSERT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    }

    const std::vector<uint32_t> pattern = PatternPixels(PatternWidth, PatternHeight, 7);
    const Bytes patternFile = MakeBitmap(PatternWidth, PatternHeight, pattern);
};

HBITMAP WINAPI RefuseDibSection(HDC, const BITMAPINFO*, UINT, void**, HANDLE, DWORD)
{
    return nullptr;
}

// A section that comes without its bits must still be given back.
HBITMAP SectionsMade[2];
int SectionCount = 0;
HBITMAP WINAPI SectionWithoutBits(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE, DWORD)
{
    HBITMAP section = CreateDIBSection(dc, info, usage, bits, nullptr, 0);
    *bits = nullptr;
    SectionsMade[SectionCount++ % 2] = section;
    return section;
}

Bytes WithBytes(Bytes file, size_t at, std::initializer_list<uint8_t> bytes)
{
    std::copy(bytes.begin(), bytes.end(), file.begin() + at);
    return file;
}

}  // namespace

TEST_F(BitmapLoading, EveryHandledDepthArrivesPixelForPixel)
{
    for (int bitCount : {16, 24, 32}) {
        SCOPED_TRACE(bitCount);
        OpenArchive({{"p.bmp", MakeBitmap(PatternWidth, PatternHeight, pattern, bitCount)}});
        IDirectDrawSurface7* surface = LoadBitmapSurface("p.bmp");
        ASSERT_NE(surface, nullptr);
        const TestBitmap read = ReadSurface(surface);
        EXPECT_EQ(read.width, PatternWidth);
        EXPECT_EQ(read.height, PatternHeight);
        EXPECT_EQ(read.pixels, pattern);
        EXPECT_EQ(ReadDebugLog(), (std::vector<std::string>{"p.bmp", "Bitmap loaded"}));
        surface->Release();
        DataArchive.Close();
    }
}

TEST_F(BitmapLoading, RefusedPicturesGiveNoSurface)
{
    OpenArchive({{"swapped.bmp", WithBytes(patternFile, 0, {'M', 'B'})},
                 {"paletted.bmp", WithBytes(patternFile, 28, {8})}});
    EXPECT_EQ(LoadBitmapSurface("swapped.bmp"), nullptr);
    EXPECT_EQ(LoadBitmapSurface("paletted.bmp"), nullptr);
    EXPECT_EQ(LoadBitmapSurface("absent.bmp"), nullptr);
    EXPECT_EQ(ReadDebugLog(), (std::vector<std::string>{"swapped.bmp", "Invalid bitmap file header", "paletted.bmp",
                                                        "Invalid bitmap file header", "absent.bmp",
                                                        "Error finding file in VBF"}));
}

TEST_F(BitmapLoading, CopyChangesOnlyTheBitmapsCornerAndClipsToSmallSurfaces)
{
    OpenArchive({{"p.bmp", patternFile}});
    IDirectDrawSurface7* large = CreateOffscreenSurface(DirectDrawObject, 16, 8);
    IDirectDrawSurface7* small = CreateOffscreenSurface(DirectDrawObject, 4, 2);
    FillSurface(large, 0x0000FF);
    EXPECT_EQ(CopyBitmap(large, "p.bmp"), ResultOk);
    EXPECT_EQ(CopyBitmap(small, "p.bmp"), ResultOk);
    const TestBitmap inLarge = ReadSurface(large);
    const TestBitmap inSmall = ReadSurface(small);
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 16; ++x) {
            const bool inside = x < PatternWidth && y < PatternHeight;
            EXPECT_EQ(inLarge.At(x, y), inside ? pattern[y * PatternWidth + x] : 0x0000FFu) << x << "," << y;
            if (x < 4 && y < 2) {
                EXPECT_EQ(inSmall.At(x, y), pattern[y * PatternWidth + x]);
            }
        }
    }
    EXPECT_EQ(ReadDebugLog(), (std::vector<std::string>{"COPYBITMAP:  p.bmp", "Bitmap loaded", "COPYBITMAP:  p.bmp",
                                                        "Bitmap loaded"}));
    large->Release();
    small->Release();
}

TEST_F(BitmapLoading, CopyReportsAMissingSurfaceOrABusyOne)
{
    OpenArchive({{"p.bmp", patternFile}});
    EXPECT_EQ(CopyBitmap(nullptr, "p.bmp"), ResultFail);
    EXPECT_EQ(ReadDebugLog(), std::vector<std::string>{"Surface is NULL during CopyBitmap"});
    EXPECT_EQ(CopyBitmap(nullptr, "absent.bmp"), ResultFail);

    IDirectDrawSurface7* surface = CreateOffscreenSurface(DirectDrawObject, PatternWidth, PatternHeight);
    HDC held = nullptr;
    ASSERT_EQ(surface->GetDC(&held), DD_OK);
    ClearDebugLog();
    EXPECT_EQ(CopyBitmap(surface, "p.bmp"), ResultOk) << "the picture was read; only the copy failed";
    EXPECT_EQ(ReadDebugLog(), (std::vector<std::string>{"COPYBITMAP:  p.bmp", "Bitmap loaded",
                                                        "Error copying bitmap to surface (RESTORE)"}));
    surface->ReleaseDC(held);
    surface->Release();
}

// A refused DIB section fails the load like the other steps, after the read was logged.
TEST_F(BitmapLoading, RefusedDibSectionFailsBothLoaders)
{
    OpenArchive({{"p.bmp", patternFile}});
    IDirectDrawSurface7* surface = CreateOffscreenSurface(DirectDrawObject, PatternWidth, PatternHeight);
    for (CreateDibSectionFunction refusal : {RefuseDibSection, SectionWithoutBits}) {
        ClearDebugLog();
        CreateDibSection = refusal;
        EXPECT_EQ(LoadBitmapSurface("p.bmp"), nullptr);
        EXPECT_EQ(CopyBitmap(surface, "p.bmp"), ResultFail);
        CreateDibSection = CreateDIBSection;
        EXPECT_EQ(ReadDebugLog(), (std::vector<std::string>{"p.bmp", "Bitmap loaded", "Error creating DIB section",
                                                            "COPYBITMAP:  p.bmp", "Bitmap loaded",
                                                            "Error creating DIB section"}));
    }
    ASSERT_EQ(SectionCount, 2);
    EXPECT_EQ(GetObjectType(SectionsMade[0]), 0u) << "the section was not deleted";
    EXPECT_EQ(GetObjectType(SectionsMade[1]), 0u) << "the section was not deleted";
    surface->Release();
}

