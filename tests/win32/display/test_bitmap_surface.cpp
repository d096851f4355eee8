// Bitmap loading: stored pictures reach surfaces pixel for pixel; every failure is reported and contained.
#include "display_fixture.h"

#include "core/archive/resource_archive.h"
#include "win32/display/bitmap_surface.h"

namespace {

constexpr HRESULT Refused = DDERR_UNSUPPORTED;
const TestBitmap Pattern = {10, 3, PatternPixels(10, 3, 7)};  // 30 bytes of 24-bit pixels: each row is padded

// "graphics.vbf" open with the pattern as p.bmp.
struct BitmapLoading : DisplayTest {
    void SetUp() override
    {
        DisplayTest::SetUp();
        WriteGraphicsArchive({{"p.bmp", MakeBitmap(10, 3, Pattern.pixels)}});
        ASSERT_TRUE(DataArchive.Open(".\\graphics.vbf"));
        ClearDebugLog();
    }
};

// A section that comes without its bits must still be given back.
std::vector<HBITMAP> SectionsMade;
HBITMAP WINAPI SectionWithoutBits(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE, DWORD)
{
    SectionsMade.push_back(CreateDIBSection(dc, info, usage, bits, nullptr, 0));
    *bits = nullptr;
    return SectionsMade.back();
}

struct LoadFailure {
    const char* name;
    const char* entry;
    void (*arrange)(IDirectDrawSurface7*& target);  // `target` is the surface CopyBitmap refills
    bool loadGivesSurface;
    ResultCode copyResult;
    std::vector<std::string> log;  // of LoadBitmapSurface, then of CopyBitmap
};

const std::string Absent = "Error finding file in VBF", Loaded = "Bitmap loaded", NoDib = "Error creating DIB section";
const std::string Copy = "COPYBITMAP:  p.bmp";

const LoadFailure LoadFailures[] = {
    {"NotInTheArchive", "absent.bmp", [](auto&) {}, false, ResultFail,
        {"absent.bmp", Absent, "COPYBITMAP:  absent.bmp", Absent}},
    {"NoSurfaceGiven", "absent.bmp",
        [](auto& target) {
            target->Release();
            target = nullptr;
        },
        false, ResultFail, {"absent.bmp", Absent, "Surface is NULL during CopyBitmap"}},
    {"SurfaceRefused", "p.bmp", [](auto&) { RefuseMethod(DirectDrawObject, DrawCreateSurface, Refused); }, false,
        ResultOk, {"p.bmp", Loaded, "Error creating SURFACE", Copy, Loaded}},
    {"DeviceContextRefused", "p.bmp",
        [](auto& target) {
            RefuseMethod(target, SurfaceGetDC, DDERR_SURFACELOST);
            RefuseInObjectsMade(DirectDrawObject, DrawCreateSurface, SurfaceGetDC, DDERR_SURFACELOST);
        },
        true, ResultOk,
        {"p.bmp", Loaded, "Error copying bitmap to surface", Copy, Loaded,
            "Error copying bitmap to surface (RESTORE)"}},
    {"DibSectionRefused", "p.bmp",
        [](auto&) {
            CreateDibSection = [](HDC, const BITMAPINFO*, UINT, void**, HANDLE, DWORD) -> HBITMAP { return nullptr; };
        },
        false, ResultFail, {"p.bmp", Loaded, NoDib, Copy, Loaded, NoDib}},
    {"DibSectionWithoutBits", "p.bmp", [](auto&) { CreateDibSection = SectionWithoutBits; }, false, ResultFail,
        {"p.bmp", Loaded, NoDib, Copy, Loaded, NoDib}},
};

class BitmapLoadFailure : public BitmapLoading, public ::testing::WithParamInterface<LoadFailure> {};

}  // namespace

TEST_P(BitmapLoadFailure, IsLoggedAndContained)
{
    const LoadFailure& row = GetParam();
    IDirectDrawSurface7* target = CreateOffscreenSurface(DirectDrawObject, 10, 3);
    row.arrange(target);
    IDirectDrawSurface7* loaded = LoadBitmapSurface(row.entry);
    EXPECT_EQ(loaded != nullptr, row.loadGivesSurface);
    EXPECT_EQ(CopyBitmap(target, row.entry), row.copyResult);
    EXPECT_EQ(ReadDebugLog(), row.log);
    for (HBITMAP section : SectionsMade) {
        EXPECT_EQ(GetObjectType(section), 0u) << "the section was not deleted";
    }
    for (IDirectDrawSurface7* surface : {loaded, target}) {
        if (surface != nullptr) {
            surface->Release();
        }
    }
}
INSTANTIATE_TEST_SUITE_P(Rows, BitmapLoadFailure, ::testing::ValuesIn(LoadFailures), RowName);

// A copy changes only the bitmap's corner, or is clipped to the surface.
TEST_F(BitmapLoading, CopyChangesOnlyTheBitmapsCornerAndClipsToSmallSurfaces)
{
    IDirectDrawSurface7 *large = CreateOffscreenSurface(DirectDrawObject, 16, 8),
                        *small = CreateOffscreenSurface(DirectDrawObject, 4, 2);
    FillSurface(large, 0x0000FF);
    EXPECT_EQ(CopyBitmap(large, "p.bmp"), ResultOk);
    EXPECT_EQ(CopyBitmap(small, "p.bmp"), ResultOk);
    TestBitmap inLarge = Plain(16, 8, 0x0000FF);
    Paste(inLarge, Pattern, 0, 0);
    EXPECT_TRUE(ReadSurface(large) == inLarge);
    EXPECT_TRUE(ReadSurface(small) == Cut(Pattern, 0, 0, 4, 2));
    for (IDirectDrawSurface7* surface : {large, small}) {
        surface->Release();
    }
}
