// display.h -- the SDL display: the 640 x 480 game area that every drawing composes on, the
// pictures from "graphics.vbf", and the part of the game area that changed since the window last
// showed it. Surfaces live in the program's own memory, so none is ever lost.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "core/common/result_codes.h"
#include "core/display/picture_set.h"
#include "core/display/title_buttons.h"
#include "ports/drawing.h"

struct StoredBitmap;

// Each is null while absent.
extern SDL_Surface* Screen;  // the game area, in the window's pixel format
extern SDL_Surface* BoardSurface;
extern SDL_Surface* NextPieceSurface;
extern SDL_Surface* BackgroundSurface;
extern SDL_Surface* TitleScreenSurface;
extern SDL_Surface* ControlsSurface;
extern SDL_Surface* TopScoresSurface;
extern SDL_Surface* Static1Surface;
extern SDL_Surface* Static2Surface;
extern SDL_Surface* BlockSurfaces[BlockPictureCount];
extern SDL_Surface* GhostBlockSurfaces[BlockPictureCount];
extern SDL_Surface* SparkSurfaces[SparkPictureCount];
extern SDL_Surface* WindowIcon;  // black is transparent
// The buttons' pictures, in the order of MenuButtonSet and of their states.
extern SDL_Surface* ButtonSurfaces[MenuButtonCount][ButtonStateCount];

// The picture of a button in a state, found by its name; null when it is missing.
SDL_Surface* ButtonPicture(const MenuButton& button, int32_t state);

// The game area, black; false when SDL cannot make it.
bool CreateScreen();
// Every surface and the font; the buttons forget their pictures.
void ReleaseDisplay(MenuButtonSet& buttons);

// A picture holding the stored bitmap, or null.
SDL_Surface* SurfaceFromBitmap(const StoredBitmap& bitmap);
SDL_Surface* CreatePictureSurface(int32_t width, int32_t height);

// The screen pixel of a COLORREF (0x00BBGGRR).
Uint32 ScreenColour(Colour colour);

// The picture (or its `source` part) into a game-area rectangle, stretched when the sizes differ.
ResultCode BlitToScreen(SDL_Surface* picture, const SDL_Rect* source, const SDL_Rect& target);
void FillScreen(const SDL_Rect& target, Colour colour);

// What was drawn on the game area and is not yet on the window.
void MarkChanged(const SDL_Rect& area);
void MarkAllChanged();
// The union of the changes since the last call; false when nothing changed.
bool TakeChangedArea(SDL_Rect& area);

// Shows the changes on the window at once: the shell's, for effects that pause between pictures.
extern void (*ShowChangesNow)();
