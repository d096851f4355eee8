// surface_text.h -- GDI text on a DirectDraw surface; needs no display object.
#pragma once

#include <ddraw.h>
#include <windows.h>

#include <cstdint>

#include "core/common/result_codes.h"

// Opaque text at surface coordinates (x, y); E_INVALIDARG without a surface or text.
ResultCode DrawTextOnSurface(IDirectDrawSurface7* surface, HFONT font, const char* text, int32_t x, int32_t y,
    COLORREF backgroundColour, COLORREF textColour);
