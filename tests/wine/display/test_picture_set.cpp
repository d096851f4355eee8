// The picture set: what LoadGraphics builds and logs, and how RestoreSurfaces refills it.
#include "display_fixture.h"

#include <algorithm>

#include "archive/resource_archive.h"
#include "display/display_win32.h"
#include "display/picture_set_win32.h"
#include "drawing/menu_button.h"
#include "drawing/picture_set.h"
#include "game/frame_state.h"
#include "log/debug_log.h"

namespace {

struct Picture {
    std::string name;
    IDirectDrawSurface7** surface;
};

// The loaded pictures in the order LoadGraphics builds them.
std::vector<Picture> PictureTable()
{
    std::vector<Picture> table = {{"titlescreen.bmp", &TitleScreenSurface},
                                  {"background.bmp", &BackgroundSurface},
                                  {"controls.bmp", &ControlsSurface}};
    for (int i = 0; i < BlockPictureCount; ++i) {
        table.push_back({"block" + std::to_string(i + 1) + ".bmp", &BlockSurfaces[i]});
        table.push_back({"block" + std::to_string(i + 1) + "-ghost.bmp", &GhostBlockSurfaces[i]});
    }
    for (int i = 0; i < SparkPictureCount; ++i) {
        table.push_back({"spark" + std::to_string(i + 1) + ".bmp", &SparkSurfaces[i]});
    }
    table.push_back({"topscores.bmp", &TopScoresSurface});
    table.push_back({"static1.bmp", &Static1Surface});
    table.push_back({"static2.bmp", &Static2Surface});
    const char* buttons[] = {"play", "scores", "quit"};
    for (int b = 0; b < MenuButtonCount; ++b) {
        for (int i = 0; i < 3; ++i) {
            table.push_back({std::string(buttons[b]) + "-" + std::to_string(i + 1) + ".bmp", &MenuButtons[b].image[i]});
        }
    }
    return table;
}

void ScribbleOver(IDirectDrawSurface7* surface)
{
    DDBLTFX fx = {};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 0xFF00FF;
    surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

bool HasBlackSourceKey(IDirectDrawSurface7* surface)
{
    DDCOLORKEY key = {1, 1};
    return surface->GetColorKey(DDCKEY_SRCBLT, &key) == DD_OK && key.dwColorSpaceLowValue == 0 &&
           key.dwColorSpaceHighValue == 0;
}

bool Contains(const std::vector<std::string>& lines, const std::vector<std::string>& run)
{
    return std::search(lines.begin(), lines.end(), run.begin(), run.end()) != lines.end();
}

}  // namespace

using PictureSet = DisplayTest;

TEST_F(PictureSet, LoadGraphicsBuildsEveryPictureInOrder)
{
    InstallGameGraphics();
    LoadGraphics(MenuButtons);
    std::vector<std::string> expectedLog;
    for (const Picture& picture : PictureTable()) {
        SCOPED_TRACE(picture.name);
        expectedLog.insert(expectedLog.end(), {picture.name, "Bitmap loaded"});
        ASSERT_NE(*picture.surface, nullptr);
        EXPECT_EQ(CountDifferences(ReadSurface(*picture.surface), GamePicture(picture.name)), 0);
        const bool keyed = picture.name.rfind("spark", 0) == 0 || picture.name.rfind("static", 0) == 0;
        EXPECT_EQ(HasBlackSourceKey(*picture.surface), keyed);
    }
    EXPECT_EQ(ReadDebugLog(), expectedLog);
    EXPECT_EQ(expectedLog.size(), 64u);

    const TestBitmap board = ReadSurface(BoardSurface);
    EXPECT_EQ(board.width, 240);
    EXPECT_EQ(board.height, 384);
    EXPECT_EQ(std::count(board.pixels.begin(), board.pixels.end(), 0u), 240 * 384) << "cleared to black";
    int32_t width = 0, height = 0;
    GetSurfaceSize(NextPieceSurface, width, height);
    EXPECT_EQ(width, 120);
    EXPECT_EQ(height, 120);

    const int32_t places[3][2] = {{470, 180}, {410, 260}, {470, 338}};
    for (int b = 0; b < MenuButtonCount; ++b) {
        const TestBitmap normal = GamePicture(MenuButtons[b].name[0]);
        EXPECT_EQ(MenuButtons[b].x, places[b][0]);
        EXPECT_EQ(MenuButtons[b].y, places[b][1]);
        EXPECT_EQ(MenuButtons[b].width, normal.width);
        EXPECT_EQ(MenuButtons[b].height, normal.height);
        EXPECT_EQ(MenuButtons[b].state, ButtonNormal);
    }
}

TEST_F(PictureSet, MissingBlockIsLoggedAndTheRestLoads)
{
    ArchiveFiles files = GameGraphicsFiles();
    files.erase(std::find_if(files.begin(), files.end(), [](const auto& f) { return f.first == "block3.bmp"; }));
    WriteGraphicsArchive(files);
    LoadGraphics(MenuButtons);
    const std::vector<std::string> log = ReadDebugLog();
    EXPECT_TRUE(Contains(log, {"block2-ghost.bmp", "Bitmap loaded", "block3.bmp", "Error finding file in VBF",
                               "Error loading blocks!", "block3-ghost.bmp", "Bitmap loaded"}));
    EXPECT_EQ(log.size(), 65u);
    for (int i = 0; i < BlockPictureCount; ++i) {
        EXPECT_EQ(BlockSurfaces[i] == nullptr, i == 2) << i;
        EXPECT_NE(GhostBlockSurfaces[i], nullptr) << i;
    }
}

TEST_F(PictureSet, ButtonTakesTheSizeOfItsFirstPicture)
{
    WriteGraphicsArchive({{"a.bmp", MakeBitmap(20, 10, PatternPixels(20, 10, 1))},
                          {"b.bmp", MakeBitmap(30, 15, PatternPixels(30, 15, 2))},
                          {"c.bmp", MakeBitmap(8, 4, PatternPixels(8, 4, 3))}});
    ASSERT_TRUE(DataArchive.Open(".\\graphics.vbf"));
    MenuButton button = {};
    button.state = ButtonPressed;
    LoadMenuButton(button, "a.bmp", "b.bmp", "c.bmp", 11, 22);
    EXPECT_STREQ(button.name[1], "b.bmp");
    EXPECT_EQ(button.width, 20);
    EXPECT_EQ(button.height, 10);
    EXPECT_EQ(button.x, 11);
    EXPECT_EQ(button.y, 22);
    EXPECT_EQ(button.state, ButtonNormal);
    for (IDirectDrawSurface7* image : button.image) {
        ASSERT_NE(image, nullptr);
        image->Release();
    }
}

// The controls picture is refilled as well, right after the title picture.
TEST_F(PictureSet, RestoreRefillsEveryPictureInItsOrder)
{
    InstallGameGraphics();
    LoadGraphics(MenuButtons);
    const std::vector<Picture> table = PictureTable();
    for (const Picture& picture : table) {
        ScribbleOver(*picture.surface);
    }
    ClearDebugLog();
    RepaintPending = false;
    EXPECT_EQ(RestoreSurfaces(MenuButtons), ResultOk);

    std::vector<std::string> order = {"background.bmp", "titlescreen.bmp", "controls.bmp"};
    for (int i = 1; i <= BlockPictureCount; ++i) {
        order.insert(order.end(), {"block" + std::to_string(i) + ".bmp", "block" + std::to_string(i) + "-ghost.bmp"});
    }
    order.insert(order.end(),
                 {"spark1.bmp", "spark2.bmp", "spark3.bmp", "static1.bmp", "static2.bmp", "topscores.bmp"});
    for (const char* button : {"play", "scores", "quit"}) {
        for (int i : {1, 3, 2}) {
            order.push_back(std::string(button) + "-" + std::to_string(i) + ".bmp");
        }
    }
    std::vector<std::string> expectedLog = {"Restoring Surfaces"};
    for (const std::string& name : order) {
        expectedLog.insert(expectedLog.end(), {"COPYBITMAP:  " + name, "Bitmap loaded"});
    }
    expectedLog.push_back("Surfaces Restored");
    EXPECT_EQ(ReadDebugLog(), expectedLog);
    for (const Picture& picture : table) {
        EXPECT_EQ(CountDifferences(ReadSurface(*picture.surface), GamePicture(picture.name)), 0) << picture.name;
    }
    EXPECT_TRUE(RepaintPending);
}

TEST_F(PictureSet, RestoreReportsAbsentPicturesAndNeedsTheDirectDrawObject)
{
    InstallGameGraphics();
    LoadGraphics(MenuButtons);
    BlockSurfaces[2]->Release();
    BlockSurfaces[2] = nullptr;
    SparkSurfaces[0]->Release();
    SparkSurfaces[0] = nullptr;
    ClearDebugLog();
    EXPECT_EQ(RestoreSurfaces(MenuButtons), ResultOk);
    const std::vector<std::string> log = ReadDebugLog();
    EXPECT_TRUE(Contains(log, {"Bitmap loaded", "Surface is NULL during CopyBitmap", "Error restoring blocks!",
                               "COPYBITMAP:  block3-ghost.bmp"}));
    EXPECT_TRUE(Contains(log, {"Surface is NULL during CopyBitmap", "Failed to restore spark images",
                               "COPYBITMAP:  spark2.bmp"}));

    ShutdownDisplay(MenuButtons);
    ClearDebugLog();
    EXPECT_EQ(RestoreSurfaces(MenuButtons), ResultFail);
    EXPECT_TRUE(ReadDebugLog().empty());
}
