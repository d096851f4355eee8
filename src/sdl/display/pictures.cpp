// pictures.cpp -- every picture of "graphics.vbf" into its surface, in the Windows build's order
// and with its log lines, then the font and the window's icon.
#include <cstdio>
#include <cstring>

#include "core/archive/resource_archive.h"
#include "core/display/bitmap_file.h"
#include "core/log/debug_log.h"
#include "ports/drawing.h"
#include "sdl/display/display.h"
#include "sdl/display/text.h"

namespace {

constexpr int32_t BoardSurfaceWidth = 240;
constexpr int32_t BoardSurfaceHeight = 384;
constexpr int32_t NextPieceSurfaceSize = 120;

struct ButtonPlace {
    const char* names[ButtonStateCount];
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

void LoadBlocks()
{
    for (int i = 1; i <= BlockPictureCount; ++i) {
        BlockSurfaces[i - 1] = LoadPicture(NumberedName("block%i.bmp", i).text);
        if (BlockSurfaces[i - 1] == nullptr) {
            WriteDebugLog("Error loading blocks!");
        }
        GhostBlockSurfaces[i - 1] = LoadPicture(NumberedName("block%i-ghost.bmp", i).text);
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

// The button's size is that of its normal picture; the pictures stay with the display, by index.
void LoadMenuButton(MenuButton& button, int index)
{
    const ButtonPlace& place = ButtonPlaces[index];
    for (int state = 0; state < ButtonStateCount; ++state) {
        std::strncpy(button.name[state], place.names[state], MenuButtonNameSize - 1);
        button.name[state][MenuButtonNameSize - 1] = '\0';
        button.image[state] = nullptr;
        ButtonSurfaces[index][state] = LoadPicture(place.names[state]);
    }
    SDL_Surface* normal = ButtonSurfaces[index][ButtonNormal];
    button.width = normal != nullptr ? normal->w : 0;
    button.height = normal != nullptr ? normal->h : 0;
    button.state = ButtonNormal;
    button.shown = ButtonPictureUnknown;
    button.x = place.x;
    button.y = place.y;
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
    LoadBlocks();
    BoardSurface = CreatePictureSurface(BoardSurfaceWidth, BoardSurfaceHeight);
    if (BoardSurface != nullptr) {
        ClearBoardSurface();
    }
    NextPieceSurface = CreatePictureSurface(NextPieceSurfaceSize, NextPieceSurfaceSize);
    LoadSparks();
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
