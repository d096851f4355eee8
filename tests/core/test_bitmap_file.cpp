// Stored bitmaps: what loads, and every refusal with its log line.
#include <cstdio>
#include <cstring>
#include <tuple>

#include "core/display/bitmap_file.h"
#include "stored_files.h"
#include "test_support.h"

namespace {

Bytes Picture(int32_t width, int32_t height, int bitCount)
{
    return MakeBitmap(width, height, PatternPixels(width, height, width * height), bitCount);
}

class BitmapFile : public TempDirTest {
protected:
    ResourceArchive archive;
    StoredBitmap bitmap;

    void OpenArchive(const std::vector<StoredFile>& files)
    {
        WriteFileBytes("graphics.vbf", TableFirstArchive(files));
        ASSERT_TRUE(archive.Open("graphics.vbf"));
    }
    bool Load(const char* name) { return ReadStoredBitmap(archive, name, bitmap); }
};

}  // namespace

// Each depth loads its padded rows, read from where the header says the pixels start.
TEST_F(BitmapFile, LoadsEachSupportedDepthWithOneLogLine)
{
    Bytes cell = Picture(24, 24, 24);
    cell[45] = 1;                      // a pixels-per-metre byte beside the colour count
    Bytes gap = Picture(300, 80, 24);  // more than one read piece, a width above 255
    gap.insert(gap.begin() + 54, {0xEE, 0xEE, 0xEE, 0xEE});
    PutLe32(gap, 10, 58);
    OpenArchive({{"block1.bmp", cell}, {"narrow.bmp", Picture(10, 3, 24)}, {"hi.bmp", Picture(5, 4, 16)},
        {"true.bmp", Picture(3, 2, 32)}, {"gap.bmp", gap}});

    ASSERT_TRUE(Load("BLOCK1.BMP"));
    EXPECT_EQ(std::tie(bitmap.type, bitmap.offBits, bitmap.width, bitmap.height, bitmap.bitCount),
        std::make_tuple(BitmapMagic, 54u, 24, 24, 24))
        << "type, pixel offset, width, height, bits";
    EXPECT_EQ(0, std::memcmp(bitmap.infoHeader, &cell[14], 40));
    EXPECT_EQ(bitmap.pixels, Bytes(cell.begin() + 54, cell.end()));
    EXPECT_EQ(ReadDebugLog(), std::vector<std::string>{"Bitmap loaded"});
    const std::pair<const char*, size_t> sizes[] = {{"narrow.bmp", 3 * 32}, {"hi.bmp", 4 * 12}, {"true.bmp", 2 * 12}};
    for (const auto& size : sizes) {
        EXPECT_TRUE(Load(size.first) && bitmap.pixels.size() == size.second) << size.first;
    }
    ASSERT_TRUE(Load("gap.bmp"));
    EXPECT_EQ(bitmap.pixels, Bytes(gap.begin() + 58, gap.end()));
    EXPECT_EQ(ReadDebugLog().size(), 5u);

    EXPECT_FALSE(Load("b.bmp"));
    archive.Seek(1u << 30);
    char sink[4];
    archive.Read(sink, sizeof sink);
    EXPECT_FALSE(Load("block1.bmp"));
    const std::vector<std::string> log = ReadDebugLog();
    EXPECT_EQ(std::vector<std::string>(log.begin() + 5, log.end()),
        (std::vector<std::string>{"Error finding file in VBF", "Error seeking in VBF file"}));
}

// Headers GDI cannot take as we hand them over, or sizes the entry cannot hold, are refused
// before the pixel data is read or any memory is taken for it, and the archive stays usable; a
// file that runs out fails at the step that ran out and leaves the archive failed.
TEST_F(BitmapFile, EveryRefusalIsLoggedAtItsStep)
{
    // `width`: of the value written at `at`, 2 or 4 bytes, or 0: the entry is cut at `at`.
    const struct {
        const char* what;
        size_t at;
        int width;
        uint32_t value;
        const char* line;
    } cases[] = {
        {"magic letters swapped", 0, 2, 0x424D},
        {"eight bits with a colour table", 28, 2, 8},
        {"one bit", 28, 2, 1},
        {"forty-eight bits", 28, 2, 48},
        {"run-length compressed", 30, 4, 1},
        {"bit fields", 30, 4, 3},
        {"top-down rows", 22, 4, static_cast<uint32_t>(-4)},
        {"zero height", 22, 4, 0},
        {"zero width", 18, 4, 0},
        {"negative width", 18, 4, static_cast<uint32_t>(-4)},
        {"V5 info header", 14, 4, 124},
        {"short info header", 14, 4, 12},
        {"two planes", 26, 2, 2},
        {"colours used", 46, 4, 16},
        {"height beyond the entry", 22, 4, 5},
        {"size overflowing 32 bits", 18, 4, 0x40000001},
        {"width beyond the entry", 18, 4, 0x00010004},
        {"huge both ways", 22, 4, 0x7FFFFFFF},
        {"pixels start inside the headers", 10, 4, 20},
        {"pixels start beyond the entry", 10, 4, 0x10000},
        {"pixels start near 4 GiB", 10, 4, 0xFFFFFFF0},
        {"cut in the file header", 10, 0, 0, "Failed reading bitmap file header"},
        {"cut in the info header", 30, 0, 0, "Failed reading bitmap info header"},
        {"cut in the pixels", 60, 0, 0, "Error reading bitmap color data"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes whole = Picture(4, 4, 24);
        Bytes bad(whole.begin(), whole.begin() + (c.width ? whole.size() : c.at));
        if (c.width == 2) {
            PutLe16(bad, c.at, c.value);
        }
        if (c.width == 4) {
            PutLe32(bad, c.at, c.value);
        }
        std::remove(".\\debug.log");
        OpenArchive({{"other.bmp", whole}, {"bad.bmp", bad, static_cast<uint32_t>(whole.size())}});
        EXPECT_FALSE(Load("bad.bmp"));
        EXPECT_TRUE(bitmap.pixels.empty());
        EXPECT_EQ(Load("other.bmp"), c.width != 0);
        const std::vector<std::string> refused = {"Invalid bitmap file header", "Bitmap loaded"};
        const std::vector<std::string> cut = {c.line ? c.line : "", "Error seeking in VBF file"};
        EXPECT_EQ(ReadDebugLog(), c.width ? refused : cut);
    }
}
