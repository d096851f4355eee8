// bitmap_surface.h -- stored bitmaps of the graphics archive into DirectDraw surfaces.
#pragma once

#include <ddraw.h>
#include <windows.h>

#include <cstdint>

#include "core/common/result_codes.h"

// A new surface of the bitmap's size holding entry `name` of DataArchive, or null.
IDirectDrawSurface7* LoadBitmapSurface(const char* name);

// Draws entry `name` into an existing surface again: 0 once the picture was read, else E_FAIL.
ResultCode CopyBitmap(IDirectDrawSurface7* surface, const char* name);

// An off-screen surface in the display's pixel format, or null.
IDirectDrawSurface7* CreateOffscreenSurface(IDirectDraw7* directDraw, int32_t width, int32_t height);

// GDI copy of `bitmap` into the surface's top-left corner; the result of the surface's GetDC.
ResultCode BlitBitmapToSurface(IDirectDrawSurface7* surface, HBITMAP bitmap, int32_t width, int32_t height);

// How the loaders make their DIB section; tests replace it to provoke a failure.
using CreateDibSectionFunction = HBITMAP(WINAPI*)(HDC, const BITMAPINFO*, UINT, void**, HANDLE, DWORD);
extern CreateDibSectionFunction CreateDibSection;
