// pictures.cpp -- every picture of "graphics.vbf" into its surface, in the Windows build's order
// and with its log lines, then the font and the window's icon.
#include <cstring>

#include "core/archive/resource_archive.h"
#include "core/display/bitmap_file.h"
#include "core/display/picture_set.h"
#include "core/display/play_cells.h"
#include "core/display/title_buttons.h"
#include "core/log/debug_log.h"
#include "ports/drawing.h"
#include "sdl/display/display.h"
#include "sdl/display/text.h"

namespace {

SDL_Surface* LoadPicture(const char* name)
{
    WriteDebugLog(name);
    StoredBitmap bitmap;
    if (!ReadStoredBitmap(DataArchive, name, bitmap)) {
        return nullptr;
    }
    SDL_Surface* surface = SurfaceFromBitmap(bitmap);
    if (surface == nullptr) {
        WriteDebugLog("Error creating SURFACE");
    }
    return surface;
}

SDL_Surface* LoadKeyedPicture(const char* name)
{
    SDL_Surface* surface = LoadPicture(name);
    if (surface != nullptr) {
        SDL_SetColorKey(surface, SDL_TRUE, 0);
    }
    return surface;
}

// The button's size is that of its normal picture; the pictures stay with the display, by index.
void LoadMenuButton(MenuButton& button, int index)
{
    PlaceMenuButton(button, index);
    for (int state = 0; state < ButtonStateCount; ++state) {
        button.image[state] = nullptr;
        ButtonSurfaces[index][state] = LoadPicture(button.name[state]);
    }
    SDL_Surface* normal = ButtonSurfaces[index][ButtonNormal];
    button.width = normal != nullptr ? normal->w : 0;
    button.height = normal != nullptr ? normal->h : 0;
    button.state = ButtonNormal;
    button.shown = ButtonPictureUnknown;
}

}  // namespace

void LoadGraphics(MenuButtonSet& buttons)
{
    char path[DataPathSize];
    MakeDataPath(path, "graphics.vbf");
    if (!DataArchive.Open(path)) {
        return;
    }
    TitleScreenSurface = LoadPicture("titlescreen.bmp");
    BackgroundSurface = LoadPicture("background.bmp");
    ControlsSurface = LoadPicture("controls.bmp");
    LoadBlockPictures(BlockSurfaces, GhostBlockSurfaces, LoadPicture);
    BoardSurface = CreatePictureSurface(BoardWidthPixels, BoardHeightPixels);
    if (BoardSurface != nullptr) {
        ClearBoardSurface();
    }
    NextPieceSurface = CreatePictureSurface(PreviewPixels, PreviewPixels);
    LoadSparkPictures(SparkSurfaces, LoadKeyedPicture);
    TopScoresSurface = LoadPicture("topscores.bmp");
    // The Windows build keys the noise too, but copies it without the key: here it has none.
    Static1Surface = LoadPicture("static1.bmp");
    Static2Surface = LoadPicture("static2.bmp");
    for (int i = 0; i < MenuButtonCount; ++i) {
        LoadMenuButton(buttons[i], i);
    }
    LoadFont();
    WindowIcon = LoadKeyedPicture("icon.bmp");
    DataArchive.Close();
}

SDL_Surface* ButtonPicture(const MenuButton& button, int32_t state)
{
    if (state < ButtonNormal || state > ButtonPressed) {
        return nullptr;
    }
    for (int i = 0; i < MenuButtonCount; ++i) {
        if (std::strcmp(ButtonPlaces[i].names[state], button.name[state]) == 0) {
            return ButtonSurfaces[i][state];
        }
    }
    return nullptr;
}

// The Windows build refills its pictures after the display took their memory away. SDL surfaces
// are the program's own memory and cannot be lost, so nobody calls this with reason.
ResultCode RestoreSurfaces(MenuButtonSet&)
{
    return ResultOk;
}
