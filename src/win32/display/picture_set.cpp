// picture_set.cpp -- every picture of "graphics.vbf" into its surface, and the refill after a loss.
#include "win32/display/picture_set.h"
#include "ports/drawing.h"

#include "core/archive/resource_archive.h"
#include "core/display/picture_set.h"
#include "core/display/play_cells.h"
#include "core/display/title_buttons.h"
#include "core/game/frame_state.h"
#include "core/log/debug_log.h"
#include "core/shell/screen.h"
#include "win32/display/bitmap_surface.h"
#include "win32/display/display.h"
#include "win32/display/surface_text.h"

namespace {

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
        RefillNumbered(BlockSurfaces[i - 1], BlockNameFormat, i, "Error restoring blocks!");
        RefillNumbered(GhostBlockSurfaces[i - 1], GhostBlockNameFormat, i, "Error restoring ghost blocks!");
    }
    for (int i = 1; i <= SparkPictureCount; ++i) {
        RefillNumbered(SparkSurfaces[i - 1], SparkNameFormat, i, "Failed to restore spark images");
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
    LoadBlockPictures(BlockSurfaces, GhostBlockSurfaces, LoadBitmapSurface);
    BoardSurface = CreateOffscreenSurface(DirectDrawObject, BoardWidthPixels, BoardHeightPixels);
    if (BoardSurface != nullptr) {
        ClearBoardSurface();
    }
    NextPieceSurface = CreateOffscreenSurface(DirectDrawObject, PreviewPixels, PreviewPixels);
    LoadSparkPictures(SparkSurfaces, LoadKeyedPicture);
    TopScoresSurface = LoadBitmapSurface("topscores.bmp");
    Static1Surface = LoadKeyedPicture("static1.bmp");
    Static2Surface = LoadKeyedPicture("static2.bmp");
    for (int i = 0; i < MenuButtonCount; ++i) {
        PlaceMenuButton(buttons[i], i);
        LoadMenuButtonImages(buttons[i]);
    }
    DataArchive.Close();
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
