// surface_text.cpp -- GDI text drawn straight onto one DirectDraw surface.
#include "win32/display/surface_text.h"

ResultCode DrawTextOnSurface(IDirectDrawSurface7* surface, HFONT font, const char* text, int32_t x, int32_t y,
    COLORREF backgroundColour, COLORREF textColour)
{
    if (surface == nullptr || text == nullptr) {
        return ResultInvalidArg;
    }
    HRESULT result = surface->Restore();
    if (FAILED(result)) {
        return result;
    }
    HDC dc = nullptr;
    result = surface->GetDC(&dc);
    if (FAILED(result)) {
        return result;
    }
    SetBkColor(dc, backgroundColour);
    SetTextColor(dc, textColour);
    if (font != nullptr) {
        SelectObject(dc, font);
    }
    TextOutA(dc, x, y, text, lstrlenA(text));
    result = surface->ReleaseDC(dc);
    return FAILED(result) ? result : ResultOk;
}
