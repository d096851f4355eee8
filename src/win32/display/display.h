// display.h -- the DirectDraw display: its objects, setup, release, and the shell's calls.
#pragma once

#include <ddraw.h>
#include <windows.h>

#include <cstdint>

#include "core/common/result_codes.h"
#include "core/display/picture_set.h"
#include "ports/drawing.h"

// Each reference is null while absent and cleared when released.
extern IDirectDraw7* DirectDrawObject;
extern IDirectDrawClipper* Clipper;
extern IDirectDrawSurface7* PrimarySurface;
extern IDirectDrawSurface7* BoardSurface;
extern IDirectDrawSurface7* NextPieceSurface;
extern IDirectDrawSurface7* BackgroundSurface;
extern IDirectDrawSurface7* TitleScreenSurface;
extern IDirectDrawSurface7* ControlsSurface;
extern IDirectDrawSurface7* TopScoresSurface;
extern IDirectDrawSurface7* Static1Surface;
extern IDirectDrawSurface7* Static2Surface;
extern IDirectDrawSurface7* BlockSurfaces[BlockPictureCount];
extern IDirectDrawSurface7* GhostBlockSurfaces[BlockPictureCount];
extern IDirectDrawSurface7* SparkSurfaces[SparkPictureCount];

// DirectDrawCreateEx by default; tests put a refusal in its place, since Wine never refuses it.
using DirectDrawCreateFunction = HRESULT(WINAPI*)(GUID* driver, void** object, REFIID interfaceId, IUnknown* outer);
inline DirectDrawCreateFunction CreateDirectDraw = DirectDrawCreateEx;

// Creates (or reuses) the DirectDraw object, sets the mode, primary surface and clipper.
ResultCode InitDirectDraw(HWND window);

// Gives the screen back to the desktop and releases every display object (before a mode switch).
void ReleaseDisplay(MenuButtonSet& buttons);

// The display half of Shutdown: restores the mode in full screen and releases everything.
void ShutdownDisplay(MenuButtonSet& buttons);

// Width and height of a surface; both 0 when it is absent or its description cannot be read.
void GetSurfaceSize(IDirectDrawSurface7* surface, int32_t& width, int32_t& height);
