// display.cpp -- the game area, the picture surfaces, and the record of what changed.
#include "sdl/display/display.h"

#include "core/display/bitmap_file.h"
#include "core/shell/screen.h"
#include "sdl/display/text.h"

SDL_Surface* Screen = nullptr;
SDL_Surface* BoardSurface = nullptr;
SDL_Surface* NextPieceSurface = nullptr;
SDL_Surface* BackgroundSurface = nullptr;
SDL_Surface* TitleScreenSurface = nullptr;
SDL_Surface* ControlsSurface = nullptr;
SDL_Surface* TopScoresSurface = nullptr;
SDL_Surface* Static1Surface = nullptr;
SDL_Surface* Static2Surface = nullptr;
SDL_Surface* BlockSurfaces[BlockPictureCount] = {};
SDL_Surface* GhostBlockSurfaces[BlockPictureCount] = {};
SDL_Surface* SparkSurfaces[SparkPictureCount] = {};
SDL_Surface* WindowIcon = nullptr;
SDL_Surface* ButtonSurfaces[MenuButtonCount][ButtonStateCount] = {};

void (*ShowChangesNow)() = [] {};

namespace {

// The window's own format, so that showing the game area is a copy: X11 windows take blue in the
// low byte, the page's canvas red.
#ifdef __EMSCRIPTEN__
constexpr Uint32 PictureFormat = SDL_PIXELFORMAT_BGR888;
constexpr int RedShift = 0;
constexpr int BlueShift = 16;
#else
constexpr Uint32 PictureFormat = SDL_PIXELFORMAT_RGB888;
constexpr int RedShift = 16;
constexpr int BlueShift = 0;
#endif

bool Changed = false;
SDL_Rect ChangedArea = {0, 0, 0, 0};

void Free(SDL_Surface*& surface)
{
    SDL_FreeSurface(surface);
    surface = nullptr;
}

// Little-endian 16, 24 or 32-bit BI_RGB pixels as GDI reads them (16 bits: 5-5-5).
Uint32 StoredPixel(const uint8_t* p, int bitCount)
{
    if (bitCount == 16) {
        const unsigned value = p[0] | p[1] << 8;
        const auto expand = [](unsigned five) { return (five << 3) | (five >> 2); };
        return expand(value >> 10 & 31) << RedShift | expand(value >> 5 & 31) << 8 | expand(value & 31) << BlueShift;
    }
    return static_cast<Uint32>(p[2]) << RedShift | static_cast<Uint32>(p[1]) << 8 |
           static_cast<Uint32>(p[0]) << BlueShift;
}

}  // namespace

bool CreateScreen()
{
    if (Screen == nullptr) {
        Screen = CreatePictureSurface(GameAreaWidth, GameAreaHeight);
    }
    if (Screen == nullptr) {
        return false;
    }
    SDL_FillRect(Screen, nullptr, 0);
    MarkAllChanged();
    return true;
}

void ReleaseDisplay(MenuButtonSet& buttons)
{
    Free(Screen);
    Free(BoardSurface);
    Free(NextPieceSurface);
    Free(BackgroundSurface);
    Free(TitleScreenSurface);
    Free(ControlsSurface);
    Free(TopScoresSurface);
    Free(Static1Surface);
    Free(Static2Surface);
    for (int i = 0; i < BlockPictureCount; ++i) {
        Free(BlockSurfaces[i]);
        Free(GhostBlockSurfaces[i]);
    }
    for (SDL_Surface*& spark : SparkSurfaces) {
        Free(spark);
    }
    Free(WindowIcon);
    for (int i = 0; i < MenuButtonCount; ++i) {
        for (SDL_Surface*& picture : ButtonSurfaces[i]) {
            Free(picture);
        }
        buttons[i].width = 0;
        buttons[i].height = 0;
    }
    ReleaseFont();
}

SDL_Surface* CreatePictureSurface(int32_t width, int32_t height)
{
    return SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, PictureFormat);
}

SDL_Surface* SurfaceFromBitmap(const StoredBitmap& bitmap)
{
    SDL_Surface* surface = CreatePictureSurface(bitmap.width, bitmap.height);
    if (surface == nullptr) {
        return nullptr;
    }
    const uint64_t stride = BitmapRowStride(bitmap.width, bitmap.bitCount);
    const int bytes = bitmap.bitCount / 8;
    for (int y = 0; y < bitmap.height; ++y) {
        const uint8_t* row = bitmap.pixels.data() + stride * static_cast<uint64_t>(bitmap.height - 1 - y);
        Uint32* out = reinterpret_cast<Uint32*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch);
        for (int x = 0; x < bitmap.width; ++x) {
            out[x] = StoredPixel(row + x * bytes, bitmap.bitCount);
        }
    }
    return surface;
}

Uint32 ScreenColour(Colour colour)
{
    return SDL_MapRGB(Screen->format, colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF);
}

ResultCode BlitToScreen(SDL_Surface* picture, const SDL_Rect* source, const SDL_Rect& target)
{
    if (Screen == nullptr || picture == nullptr) {
        return ResultOk;
    }
    SDL_Rect area = target;
    const int sourceWidth = source != nullptr ? source->w : picture->w;
    const int sourceHeight = source != nullptr ? source->h : picture->h;
    const bool stretched = sourceWidth != target.w || sourceHeight != target.h;
    const int result =
        stretched ? SDL_BlitScaled(picture, source, Screen, &area) : SDL_BlitSurface(picture, source, Screen, &area);
    MarkChanged(target);
    return result < 0 ? ResultFail : ResultOk;
}

void FillScreen(const SDL_Rect& target, Colour colour)
{
    if (Screen != nullptr) {
        SDL_FillRect(Screen, &target, ScreenColour(colour));
        MarkChanged(target);
    }
}

void MarkChanged(const SDL_Rect& area)
{
    const SDL_Rect whole = {0, 0, GameAreaWidth, GameAreaHeight};
    SDL_Rect inside;
    if (!SDL_IntersectRect(&area, &whole, &inside)) {
        return;
    }
    if (Changed) {
        SDL_UnionRect(&ChangedArea, &inside, &ChangedArea);
    } else {
        ChangedArea = inside;
        Changed = true;
    }
}

void MarkAllChanged()
{
    MarkChanged({0, 0, GameAreaWidth, GameAreaHeight});
}

bool TakeChangedArea(SDL_Rect& area)
{
    if (!Changed) {
        return false;
    }
    area = ChangedArea;
    Changed = false;
    return true;
}
