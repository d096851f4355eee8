// The picture set: what LoadGraphics builds and logs, and how RestoreSurfaces refills it.
#include "display_fixture.h"

#include <algorithm>
#include <numeric>

#include "core/game/frame_state.h"

namespace {

bool Contains(const std::vector<std::string>& lines, const std::vector<std::string>& run)
{
    return std::search(lines.begin(), lines.end(), run.begin(), run.end()) != lines.end();
}

}  // namespace

using PictureSet = DisplayTest;

// A button takes the size of its normal picture, whatever the others' (the Scores hover one is larger).
TEST_F(PictureSet, LoadGraphicsBuildsEveryPictureInOrderAndRestoreRefillsThem)
{
    WriteGraphicsArchive(GameGraphicsFiles());
    MenuButtons[1].state = ButtonPressed;
    LoadGraphics(MenuButtons);
    const ArchiveFiles pictures = GameGraphicsFiles();
    const std::vector<IDirectDrawSurface7**> surfaces = GamePictureSurfaces();
    std::vector<std::string> expectedLog;
    for (size_t i = 0; i < pictures.size(); ++i) {
        const std::string& name = pictures[i].first;
        expectedLog.insert(expectedLog.end(), {name, "Bitmap loaded"});
        ASSERT_NE(*surfaces[i], nullptr) << name;
        EXPECT_TRUE(ReadSurface(*surfaces[i]) == GamePicture(name)) << name;
        DDCOLORKEY key = {1, 1};
        EXPECT_EQ((*surfaces[i])->GetColorKey(DDCKEY_SRCBLT, &key) == DD_OK &&
                      key.dwColorSpaceLowValue + key.dwColorSpaceHighValue == 0,
            name.rfind("spark", 0) == 0 || name.rfind("static", 0) == 0)
            << "black source key";
    }
    EXPECT_EQ(ReadDebugLog(), expectedLog);
    EXPECT_TRUE(ReadSurface(BoardSurface) == Plain(240, 384, 0)) << "cleared to black";
    const int32_t places[3][2] = {{470, 180}, {410, 260}, {470, 338}};
    for (int b = 0; b < MenuButtonCount; ++b) {
        const MenuButton& button = MenuButtons[b];
        const TestBitmap normal = GamePicture(button.name[0]);
        EXPECT_EQ(std::vector<int32_t>({button.x, button.y, button.width, button.height, button.state}),
            std::vector<int32_t>({places[b][0], places[b][1], normal.width, normal.height, ButtonNormal}));
    }

    // Refilled in the order background, title, controls, blocks, sparks, noise, plate, and images 1, 3, 2.
    std::vector<size_t> order(pictures.size());
    std::iota(order.begin(), order.end(), 0);
    std::swap(order[0], order[1]);
    std::rotate(order.begin() + 20, order.begin() + 21, order.begin() + 23);
    for (size_t button = 23; button < order.size(); button += 3) {
        std::swap(order[button + 1], order[button + 2]);
    }
    expectedLog = {"Restoring Surfaces"};
    for (size_t i : order) {
        FillSurface(*surfaces[i], 0xFF00FF);
        expectedLog.insert(expectedLog.end(), {"COPYBITMAP:  " + pictures[i].first, "Bitmap loaded"});
    }
    expectedLog.push_back("Surfaces Restored");
    ClearDebugLog();
    RepaintPending = false;
    EXPECT_EQ(RestoreSurfaces(MenuButtons), ResultOk);
    EXPECT_EQ(ReadDebugLog(), expectedLog);
    for (size_t i = 0; i < pictures.size(); ++i) {
        EXPECT_TRUE(ReadSurface(*surfaces[i]) == GamePicture(pictures[i].first)) << pictures[i].first;
    }
    const SIZE wait = TextExtent("Please Wait...");
    EXPECT_TRUE(ScreenShows(290, 200, WithText(Plain(wait.cx, wait.cy, 0), 0, 0, "Please Wait...", Black, White)));
    EXPECT_TRUE(RepaintPending);
}

// A picture missing from the archive is logged at load and again at every restore; the rest loads.
TEST_F(PictureSet, MissingPicturesAreReportedAndARestoreFailsWithoutItsObject)
{
    ArchiveFiles files = GameGraphicsFiles();
    files.erase(std::remove_if(files.begin(), files.end(),
                    [](const auto& f) { return f.first == "block3.bmp" || f.first == "spark1.bmp"; }),
        files.end());
    WriteGraphicsArchive(files);
    LoadGraphics(MenuButtons);
    std::vector<std::string> log = ReadDebugLog();
    EXPECT_TRUE(Contains(log, {"block2-ghost.bmp", "Bitmap loaded", "block3.bmp", "Error finding file in VBF",
                                  "Error loading blocks!", "block3-ghost.bmp", "Bitmap loaded"}));
    EXPECT_TRUE(
        Contains(log, {"spark1.bmp", "Error finding file in VBF", "Failed to load spark images", "spark2.bmp"}));
    EXPECT_EQ(log.size(), 66u);
    // Of the blocks and ghost blocks, only block 3 is missing.
    for (int i = 0; i < BlockPictureCount; ++i) {
        EXPECT_EQ((BlockSurfaces[i] == nullptr) + 2 * (GhostBlockSurfaces[i] == nullptr), i == 2) << i;
    }

    ClearDebugLog();
    EXPECT_EQ(RestoreSurfaces(MenuButtons), ResultOk);
    log = ReadDebugLog();
    EXPECT_TRUE(Contains(log, {"Bitmap loaded", "Surface is NULL during CopyBitmap", "Error restoring blocks!",
                                  "COPYBITMAP:  block3-ghost.bmp"}));
    EXPECT_TRUE(Contains(
        log, {"Surface is NULL during CopyBitmap", "Failed to restore spark images", "COPYBITMAP:  spark2.bmp"}));

    RefuseMethod(DirectDrawObject, DrawRestoreAllSurfaces, DDERR_UNSUPPORTED);
    ClearDebugLog();
    EXPECT_EQ(RestoreSurfaces(MenuButtons), ResultFail);
    EXPECT_EQ(ReadDebugLog(), (std::vector<std::string>{"Restoring Surfaces", "Failed restoring all surfaces"}));
    ShutdownDisplay(MenuButtons);
    ClearDebugLog();
    EXPECT_EQ(RestoreSurfaces(MenuButtons), ResultFail);
    EXPECT_TRUE(ReadDebugLog().empty());
}
