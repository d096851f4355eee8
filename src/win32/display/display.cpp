// display.cpp -- the DirectDraw object, primary surface and clipper, and their release.
#include "win32/display/display.h"

#include "core/log/debug_log.h"
#include "core/shell/screen.h"
#include "ports/drawing.h"
#include "win32/display/surface_text.h"
#include "win32/shell/main_window.h"
#include "win32/shell/owned_message_box.h"

IDirectDraw7* DirectDrawObject = nullptr;
IDirectDrawClipper* Clipper = nullptr;
IDirectDrawSurface7* PrimarySurface = nullptr;
IDirectDrawSurface7* BoardSurface = nullptr;
IDirectDrawSurface7* NextPieceSurface = nullptr;
IDirectDrawSurface7* BackgroundSurface = nullptr;
IDirectDrawSurface7* TitleScreenSurface = nullptr;
IDirectDrawSurface7* ControlsSurface = nullptr;
IDirectDrawSurface7* TopScoresSurface = nullptr;
IDirectDrawSurface7* Static1Surface = nullptr;
IDirectDrawSurface7* Static2Surface = nullptr;
IDirectDrawSurface7* BlockSurfaces[BlockPictureCount] = {};
IDirectDrawSurface7* GhostBlockSurfaces[BlockPictureCount] = {};
IDirectDrawSurface7* SparkSurfaces[SparkPictureCount] = {};

namespace {

template <typename Interface>
void ReleaseObject(Interface*& object)
{
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

// The three modes in the order they are tried, each with the line logged when it is refused.
struct ModeAttempt {
    DWORD bitsPerPixel;
    const char* refusal;
};
constexpr ModeAttempt ModeAttempts[] = {
    {32, "Failed setting 32 bit display, attempting 16 bit"},
    {16, "Failed setting 16 bit dispaly mode, attempting 8 bit"},
    {8, "Failed setting 8 bit display mode... giving up"},
};

HRESULT SetFullScreenMode()
{
    for (const ModeAttempt& attempt : ModeAttempts) {
        if (SUCCEEDED(DirectDrawObject->SetDisplayMode(GameAreaWidth, GameAreaHeight, attempt.bitsPerPixel, 0, 0))) {
            return DD_OK;
        }
        WriteDebugLog(attempt.refusal);
    }
    return ResultFail;
}

// On a failed cooperative level the code is returned; a refused mode is E_FAIL.
HRESULT SetCooperation(HWND window, bool& modeRefused)
{
    modeRefused = false;
    if (!FullScreen) {
        return DirectDrawObject->SetCooperativeLevel(window, DDSCL_NORMAL);
    }
    const HRESULT result = DirectDrawObject->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
    if (FAILED(result)) {
        return result;
    }
    modeRefused = FAILED(SetFullScreenMode());
    return modeRefused ? ResultFail : DD_OK;
}

HRESULT CreatePrimarySurface()
{
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    return DirectDrawObject->CreateSurface(&desc, &PrimarySurface, nullptr);
}

bool AttachClipper(HWND window)
{
    return SUCCEEDED(DirectDrawObject->CreateClipper(0, &Clipper, nullptr)) && SUCCEEDED(Clipper->SetHWnd(0, window)) &&
           SUCCEEDED(PrimarySurface->SetClipper(Clipper));
}

// The primary surface with its clipper; a second call replaces them instead of leaking them.
HRESULT CreateScreen(HWND window)
{
    ReleaseObject(Clipper);
    ReleaseObject(PrimarySurface);
    const HRESULT primary = CreatePrimarySurface();
    if (FAILED(primary)) {
        PrimarySurface = nullptr;
        OwnedMessageBox(window, "Failed to create primary surface", "Error", MB_OK);
        return primary;
    }
    if (!AttachClipper(window)) {
        ReleaseObject(Clipper);
        ReleaseObject(PrimarySurface);
        ReleaseObject(DirectDrawObject);
        return ResultFail;
    }
    return DD_OK;
}

// Shared by ReleaseDisplay and ShutdownDisplay, in the order the display owns them.
void ReleaseSurfaces(MenuButtonSet& buttons)
{
    ReleaseObject(PrimarySurface);
    ReleaseObject(BoardSurface);
    ReleaseObject(BackgroundSurface);
    ReleaseObject(NextPieceSurface);
    ReleaseObject(Clipper);
    ReleaseObject(TitleScreenSurface);
    ReleaseObject(ControlsSurface);
    for (int i = 0; i < BlockPictureCount; ++i) {
        ReleaseObject(BlockSurfaces[i]);
        ReleaseObject(GhostBlockSurfaces[i]);
    }
    for (IDirectDrawSurface7*& spark : SparkSurfaces) {
        ReleaseObject(spark);
    }
    ReleaseObject(Static1Surface);
    ReleaseObject(Static2Surface);
    ReleaseObject(TopScoresSurface);
    for (MenuButton& button : buttons) {
        for (IDirectDrawSurface7*& image : button.image) {
            ReleaseObject(image);
        }
    }
}

}  // namespace

ResultCode InitDirectDraw(HWND window)
{
    if (DirectDrawObject == nullptr) {
        const HRESULT created =
            CreateDirectDraw(nullptr, reinterpret_cast<void**>(&DirectDrawObject), IID_IDirectDraw7, nullptr);
        if (FAILED(created)) {
            DirectDrawObject = nullptr;
            OwnedMessageBox(window, "Error initializing DirectDraw", "Error", MB_OK);
            return created;
        }
    }
    bool modeRefused = false;
    const HRESULT cooperation = SetCooperation(window, modeRefused);
    if (FAILED(cooperation)) {
        if (!modeRefused) {
            OwnedMessageBox(window, "Failed to set cooperative level", "Error", MB_OK);
        }
        return cooperation;
    }
    const HRESULT screen = CreateScreen(window);
    if (FAILED(screen)) {
        return screen;
    }
    DrawTextOnSurface(PrimarySurface, nullptr, "Loading...", ScreenOffset.x + 300, ScreenOffset.y + 200, White, Black);
    return ResultOk;
}

void ReleaseDisplay(MenuButtonSet& buttons)
{
    if (DirectDrawObject != nullptr) {
        DirectDrawObject->SetCooperativeLevel(MainWindow, DDSCL_NORMAL);
        if (FullScreen) {
            DirectDrawObject->RestoreDisplayMode();
            DirectDrawObject->FlipToGDISurface();
        }
    }
    ReleaseSurfaces(buttons);
    ReleaseObject(DirectDrawObject);
}

void ShutdownDisplay(MenuButtonSet& buttons)
{
    if (DirectDrawObject != nullptr && FullScreen) {
        DirectDrawObject->RestoreDisplayMode();
    }
    ReleaseObject(DirectDrawObject);
    ReleaseSurfaces(buttons);
}

void GetSurfaceSize(IDirectDrawSurface7* surface, int32_t& width, int32_t& height)
{
    width = 0;
    height = 0;
    if (surface == nullptr) {
        return;
    }
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    if (SUCCEEDED(surface->GetSurfaceDesc(&desc))) {
        width = static_cast<int32_t>(desc.dwWidth);
        height = static_cast<int32_t>(desc.dwHeight);
    }
}
