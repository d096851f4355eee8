// picture_set.cpp -- every picture of "graphics.vbf" into its surface, and the refill after a loss.
#include "win32/display/picture_set.h"
#include "ports/drawing.h"

#include <cstdio>
#include <cstring>

#include "core/archive/resource_archive.h"
#include "core/game/frame_state.h"
#include "core/log/debug_log.h"
#include "core/shell/screen.h"
#include "win32/display/bitmap_surface.h"
#include "win32/display/display.h"
#include "win32/display/surface_text.h"

namespace {

constexpr int32_t BoardSurfaceWidth = 240;
constexpr int32_t BoardSurfaceHeight = 384;
constexpr int32_t NextPieceSurfaceSize = 120;

struct ButtonPlace {
    const char* names[3];
    int32_t x;
    int32_t y;
};
constexpr ButtonPlace ButtonPlaces[MenuButtonCount] = {
    {{"play-1.bmp", "play-2.bmp", "play-3.bmp"}, 470, 180},
    {{"scores-1.bmp", "scores-2.bmp", "scores-3.bmp"}, 410, 260},
    {{"quit-1.bmp", "quit-2.bmp", "quit-3.bmp"}, 470, 338},
};

struct NumberedName {
    char text[32];
    NumberedName(const char* format, int number) { std::snprintf(text, sizeof text, format, number); }
};

bool OpenGraphicsArchive()
{
    char path[DataPathSize];
    MakeDataPath(path, "graphics.vbf");
    return DataArchive.Open(path);
}

void SetBlackColourKey(IDirectDrawSurface7* surface)
{
    if (surface != nullptr) {
        DDCOLORKEY black = {0, 0};
        surface->SetColorKey(DDCKEY_SRCBLT, &black);
    }
}

IDirectDrawSurface7* LoadKeyedPicture(const char* name)
{
    IDirectDrawSurface7* surface = LoadBitmapSurface(name);
    SetBlackColourKey(surface);
    return surface;
}

void LoadBlocks()
{
    for (int i = 1; i <= BlockPictureCount; ++i) {
        BlockSurfaces[i - 1] = LoadBitmapSurface(NumberedName("block%i.bmp", i).text);
        if (BlockSurfaces[i - 1] == nullptr) {
            WriteDebugLog("Error loading blocks!");
        }
        GhostBlockSurfaces[i - 1] = LoadBitmapSurface(NumberedName("block%i-ghost.bmp", i).text);
        if (GhostBlockSurfaces[i - 1] == nullptr) {
            WriteDebugLog("Error loading ghost blocks!");
        }
    }
}

void LoadSparks()
{
    for (int i = 1; i <= SparkPictureCount; ++i) {
        SparkSurfaces[i - 1] = LoadKeyedPicture(NumberedName("spark%i.bmp", i).text);
        if (SparkSurfaces[i - 1] == nullptr) {
            WriteDebugLog("Failed to load spark images");
        }
    }
}

// A missing surface is reported here; why a present one failed, CopyBitmap reports itself.
void RefillNumbered(IDirectDrawSurface7* surface, const char* format, int number, const char* missing)
{
    const bool present = surface != nullptr;
    CopyBitmap(surface, NumberedName(format, number).text);
    if (!present) {
        WriteDebugLog(missing);
    }
}

void RefillBlocksAndSparks()
{
    for (int i = 1; i <= BlockPictureCount; ++i) {
        RefillNumbered(BlockSurfaces[i - 1], "block%i.bmp", i, "Error restoring blocks!");
        RefillNumbered(GhostBlockSurfaces[i - 1], "block%i-ghost.bmp", i, "Error restoring ghost blocks!");
    }
    for (int i = 1; i <= SparkPictureCount; ++i) {
        RefillNumbered(SparkSurfaces[i - 1], "spark%i.bmp", i, "Failed to restore spark images");
    }
}

// What the lost screen showed is gone with it.
void RefillButtons(MenuButtonSet& buttons)
{
    for (MenuButton& button : buttons) {
        CopyBitmap(button.image[0], button.name[0]);
        CopyBitmap(button.image[2], button.name[2]);
        CopyBitmap(button.image[1], button.name[1]);
        button.shown = ButtonPictureUnknown;
    }
}

}  // namespace

void LoadGraphics(MenuButtonSet& buttons)
{
    if (!OpenGraphicsArchive()) {
        return;
    }
    TitleScreenSurface = LoadBitmapSurface("titlescreen.bmp");
    BackgroundSurface = LoadBitmapSurface("background.bmp");
    ControlsSurface = LoadBitmapSurface("controls.bmp");
    LoadBlocks();
    BoardSurface = CreateOffscreenSurface(DirectDrawObject, BoardSurfaceWidth, BoardSurfaceHeight);
    if (BoardSurface != nullptr) {
        ClearBoardSurface();
    }
    NextPieceSurface = CreateOffscreenSurface(DirectDrawObject, NextPieceSurfaceSize, NextPieceSurfaceSize);
    LoadSparks();
    TopScoresSurface = LoadBitmapSurface("topscores.bmp");
    Static1Surface = LoadKeyedPicture("static1.bmp");
    Static2Surface = LoadKeyedPicture("static2.bmp");
    for (int i = 0; i < MenuButtonCount; ++i) {
        const ButtonPlace& place = ButtonPlaces[i];
        LoadMenuButton(buttons[i], place.names[0], place.names[1], place.names[2], place.x, place.y);
    }
    DataArchive.Close();
}

void LoadMenuButton(MenuButton& button, const char* name1, const char* name2, const char* name3, int32_t x, int32_t y)
{
    const char* names[3] = {name1, name2, name3};
    for (int i = 0; i < 3; ++i) {
        std::strncpy(button.name[i], names[i], MenuButtonNameSize - 1);
        button.name[i][MenuButtonNameSize - 1] = '\0';
    }
    LoadMenuButtonImages(button);
    button.x = x;
    button.y = y;
}

void LoadMenuButtonImages(MenuButton& button)
{
    for (int i = 0; i < 3; ++i) {
        button.image[i] = LoadBitmapSurface(button.name[i]);
    }
    GetSurfaceSize(button.image[0], button.width, button.height);
    button.state = ButtonNormal;
    button.shown = ButtonPictureUnknown;
}

// The controls picture is refilled too, so a pause after a loss shows it rather than leftovers.
ResultCode RestoreSurfaces(MenuButtonSet& buttons)
{
    if (DirectDrawObject == nullptr) {
        return ResultFail;
    }
    WriteDebugLog("Restoring Surfaces");
    if (FAILED(DirectDrawObject->RestoreAllSurfaces())) {
        WriteDebugLog("Failed restoring all surfaces");
        return ResultFail;
    }
    DrawTextOnSurface(
        PrimarySurface, nullptr, "Please Wait...", 290 + ScreenOffset.x, 200 + ScreenOffset.y, White, Black);
    OpenGraphicsArchive();
    CopyBitmap(BackgroundSurface, "background.bmp");
    CopyBitmap(TitleScreenSurface, "titlescreen.bmp");
    if (ControlsSurface != nullptr) {
        CopyBitmap(ControlsSurface, "controls.bmp");
    }
    RefillBlocksAndSparks();
    CopyBitmap(Static1Surface, "static1.bmp");
    CopyBitmap(Static2Surface, "static2.bmp");
    CopyBitmap(TopScoresSurface, "topscores.bmp");
    RefillButtons(buttons);
    DataArchive.Close();
    WriteDebugLog("Surfaces Restored");
    RepaintPending = true;
    return ResultOk;
}
