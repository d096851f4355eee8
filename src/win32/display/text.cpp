// text.cpp -- text surfaces, centred text and the screen's text lines.
#include "win32/display/text.h"

#include "core/log/debug_log.h"
#include "core/shell/screen.h"
#include "ports/drawing.h"
#include "win32/display/bitmap_surface.h"
#include "win32/display/display.h"
#include "win32/display/surface_text.h"

namespace {

SIZE MeasureText(HFONT font, const char* text)
{
    SIZE extent = {0, 0};
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = font != nullptr ? SelectObject(screen, font) : nullptr;
    GetTextExtentPoint32A(screen, text, lstrlenA(text), &extent);
    if (font != nullptr) {
        SelectObject(screen, previous);
    }
    ReleaseDC(nullptr, screen);
    return extent;
}

void WaitForBlit(IDirectDrawSurface7* surface)
{
    while (surface->GetBltStatus(DDGBS_ISBLTDONE) == DDERR_WASSTILLDRAWING) {
    }
}

}  // namespace

ResultCode CreateTextSurface(
    IDirectDrawSurface7*& surface, HFONT font, const char* text, COLORREF backgroundColour, COLORREF textColour)
{
    if (PrimarySurface == nullptr || DirectDrawObject == nullptr || text == nullptr) {
        return ResultInvalidArg;
    }
    surface = nullptr;
    const SIZE extent = MeasureText(font, text);
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwWidth = static_cast<DWORD>(extent.cx);
    desc.dwHeight = static_cast<DWORD>(extent.cy);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    const HRESULT created = DirectDrawObject->CreateSurface(&desc, &surface, nullptr);
    if (FAILED(created)) {
        surface = nullptr;
        return created;
    }
    const ResultCode drawn = DrawTextOnSurface(surface, font, text, 0, 0, backgroundColour, textColour);
    return drawn < 0 ? drawn : ResultOk;
}

void DrawCenteredText(const char* text, int32_t top, Colour textColour, Colour backgroundColour)
{
    if (text == nullptr || text[0] == '\0') {
        return;
    }
    IDirectDrawSurface7* textSurface = nullptr;
    if (CreateTextSurface(textSurface, nullptr, text, backgroundColour, textColour) != ResultOk) {
        WriteDebugLog("Error creating centering text surface");
        if (textSurface != nullptr) {
            textSurface->Release();
        }
        return;
    }
    if (textSurface == nullptr) {
        WriteDebugLog("Centering text surface address was NULL");
        return;
    }
    int32_t width = 0;
    int32_t height = 0;
    GetSurfaceSize(textSurface, width, height);
    const int32_t left = (GameAreaWidth - width) / 2 + ScreenOffset.x;
    const int32_t topEdge = ScreenOffset.y + top;
    RECT target = {left, topEdge, left + width, topEdge + height};
    PrimarySurface->Blt(&target, textSurface, nullptr, DDBLT_WAIT, nullptr);
    WaitForBlit(textSurface);
    textSurface->Release();
}

void DrawScreenText(int32_t x, int32_t y, const char* text, Colour textColour, Colour backgroundColour)
{
    if (FullScreen) {
        ScreenOffset = {0, 0};
    }
    if (PrimarySurface == nullptr || text == nullptr) {
        return;
    }
    HDC dc = nullptr;
    if (PrimarySurface->GetDC(&dc) != DD_OK) {
        WriteDebugLog("Couldn't get HDC to draw text");
        return;
    }
    SetBkColor(dc, backgroundColour);
    SetTextColor(dc, textColour);
    SetBkMode(dc, backgroundColour == TransparentBackground ? TRANSPARENT : OPAQUE);
    TextOutA(dc, ScreenOffset.x + x, ScreenOffset.y + y, text, lstrlenA(text));
    PrimarySurface->ReleaseDC(dc);
}
