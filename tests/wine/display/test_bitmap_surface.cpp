// Bitmap loading: stored pictures reach surfaces pixel for pixel; every failure is reported and contained.
#include "display_fixture.h"

#include "archive/resource_archive.h"
#include "display/bitmap_surface_win32.h"
#include "display/display_win32.h"
#include "log/debug_log.h"

namespace {

constexpr int32_t PatternWidth = 10;   // 30 bytes of 24-bit pixels: each row is padded
constexpr int32_t PatternHeight = 3;
constexpr HRESULT Refused = DDERR_UNSUPPORTED;
const std::vector<uint32_t> Pattern = PatternPixels(PatternWidth, PatternHeight, 7);

class BitmapLoading : public DisplayTest {
protected:
    void SetUp() override
    {
        DisplayTest::SetUp();
        const Bytes file = MakeBitmap(PatternWidth, PatternHeight, Pattern);
        Bytes swapped = file, paletted = file;
        swapped[0] = 'M';
        swapped[1] = 'B';
        paletted[28] = 8;
        WriteGraphicsArchive({{"p.bmp", file}, {"swapped.bmp", swapped}, {"paletted.bmp", paletted}});
        ASSERT_TRUE(DataArchive.Open(".\\graphics.vbf"));
        ClearDebugLog();
    }
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

struct LoadFailure {
    const char* name;
    const char* entry;
    void (*arrange)(IDirectDrawSurface7*& target);   // `target` is the surface CopyBitmap refills
    std::vector<std::string> loadLog;                 // after the entry's name
    bool loadGivesSurface;
    std::vector<std::string> copyLog;                 // after "COPYBITMAP:  " and the name, if there is a target
    ResultCode copyResult;
};

const std::vector<std::string> Header = {"Invalid bitmap file header"};
const std::vector<std::string> Absent = {"Error finding file in VBF"};
const std::vector<std::string> NoDib = {"Bitmap loaded", "Error creating DIB section"};

const LoadFailure LoadFailures[] = {
    {"MagicLettersSwapped", "swapped.bmp", [](auto&) {}, Header, false, Header, ResultFail},
    {"ColourTable", "paletted.bmp", [](auto&) {}, Header, false, Header, ResultFail},
    {"NotInTheArchive", "absent.bmp", [](auto&) {}, Absent, false, Absent, ResultFail},
    {"NoSurfaceGiven", "absent.bmp", [](auto& target) { target->Release(); target = nullptr; }, Absent, false,
     {"Surface is NULL during CopyBitmap"}, ResultFail},
    {"SurfaceRefused", "p.bmp", [](auto&) { RefuseMethod(DirectDrawObject, DirectDrawMethod::CreateSurface, Refused); },
     {"Bitmap loaded", "Error creating SURFACE"}, false, {"Bitmap loaded"}, ResultOk},
    {"DeviceContextRefused", "p.bmp",
     [](auto& target) {
         RefuseMethod(target, SurfaceMethod::GetDC, DDERR_SURFACELOST);
         RefuseInObjectsMade(DirectDrawObject, DirectDrawMethod::CreateSurface, SurfaceMethod::GetDC, DDERR_SURFACELOST);
     },
     {"Bitmap loaded", "Error copying bitmap to surface"}, true,
     {"Bitmap loaded", "Error copying bitmap to surface (RESTORE)"}, ResultOk},
    {"DibSectionRefused", "p.bmp", [](auto&) { CreateDibSection = RefuseDibSection; }, NoDib, false, NoDib, ResultFail},
    {"DibSectionWithoutBits", "p.bmp", [](auto&) { CreateDibSection = SectionWithoutBits; }, NoDib, false, NoDib,
     ResultFail},
};

class BitmapLoadFailure : public BitmapLoading, public ::testing::WithParamInterface<LoadFailure> {};

}  // namespace

TEST_P(BitmapLoadFailure, IsLoggedAndContained)
{
    const LoadFailure& row = GetParam();
    IDirectDrawSurface7* target = CreateOffscreenSurface(DirectDrawObject, PatternWidth, PatternHeight);
    row.arrange(target);
    IDirectDrawSurface7* loaded = LoadBitmapSurface(row.entry);
    EXPECT_EQ(loaded != nullptr, row.loadGivesSurface);
    std::vector<std::string> expected = {row.entry};
    expected.insert(expected.end(), row.loadLog.begin(), row.loadLog.end());
    if (target != nullptr) {
        expected.push_back("COPYBITMAP:  " + std::string(row.entry));
    }
    expected.insert(expected.end(), row.copyLog.begin(), row.copyLog.end());
    EXPECT_EQ(CopyBitmap(target, row.entry), row.copyResult);
    EXPECT_EQ(ReadDebugLog(), expected);
    for (HBITMAP section : SectionsMade) {
        EXPECT_EQ(GetObjectType(section), 0u) << "the section was not deleted";
    }
    for (IDirectDrawSurface7* surface : {loaded, target}) {
        if (surface != nullptr) {
            surface->Release();
        }
    }
}
INSTANTIATE_TEST_SUITE_P(Rows, BitmapLoadFailure, ::testing::ValuesIn(LoadFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BitmapLoading, EveryHandledDepthArrivesPixelForPixel)
{
    DataArchive.Close();
    for (int bitCount : {16, 24, 32}) {
        SCOPED_TRACE(bitCount);
        WriteGraphicsArchive({{"p.bmp", MakeBitmap(PatternWidth, PatternHeight, Pattern, bitCount)}});
        ASSERT_TRUE(DataArchive.Open(".\\graphics.vbf"));
        ClearDebugLog();
        IDirectDrawSurface7* surface = LoadBitmapSurface("p.bmp");
        ASSERT_NE(surface, nullptr);
        const TestBitmap read = ReadSurface(surface);
        EXPECT_EQ(read.width, PatternWidth);
        EXPECT_EQ(read.height, PatternHeight);
        EXPECT_EQ(read.pixels, Pattern);
        EXPECT_EQ(ReadDebugLog(), (std::vector<std::string>{"p.bmp", "Bitmap loaded"}));
        surface->Release();
        DataArchive.Close();
    }
}

TEST_F(BitmapLoading, CopyChangesOnlyTheBitmapsCornerAndClipsToSmallSurfaces)
{
    IDirectDrawSurface7* large = CreateOffscreenSurface(DirectDrawObject, 16, 8);
    IDirectDrawSurface7* small = CreateOffscreenSurface(DirectDrawObject, 4, 2);
    DDBLTFX fx = {};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 0x0000FF;
    ASSERT_EQ(large->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    EXPECT_EQ(CopyBitmap(large, "p.bmp"), ResultOk);
    EXPECT_EQ(CopyBitmap(small, "p.bmp"), ResultOk);
    const TestBitmap inLarge = ReadSurface(large);
    const TestBitmap inSmall = ReadSurface(small);
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 16; ++x) {
            const bool inside = x < PatternWidth && y < PatternHeight;
            EXPECT_EQ(inLarge.At(x, y), inside ? Pattern[y * PatternWidth + x] : 0x0000FFu) << x << "," << y;
            if (x < 4 && y < 2) {
                EXPECT_EQ(inSmall.At(x, y), Pattern[y * PatternWidth + x]);
            }
        }
    }
    EXPECT_EQ(ReadDebugLog(), (std::vector<std::string>{"COPYBITMAP:  p.bmp", "Bitmap loaded", "COPYBITMAP:  p.bmp",
                                                        "Bitmap loaded"}));
    large->Release();
    small->Release();
}
