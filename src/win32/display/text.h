// text.h -- off-screen surfaces holding a text.
#pragma once

#include <ddraw.h>
#include <windows.h>

#include <cstdint>

#include "core/common/result_codes.h"

// A new off-screen surface exactly as large as the text, holding it; the caller owns it.
ResultCode CreateTextSurface(
    IDirectDrawSurface7*& surface, HFONT font, const char* text, COLORREF backgroundColour, COLORREF textColour);
