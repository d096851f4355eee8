// bare_ddraw_win32.cpp -- the least a DirectDraw game does, as a yardstick for the game's start-up,
// memory and idle load: a window, a primary surface with a clipper, one blit of a 640 x 480
// picture, and one DirectSound buffer playing in a loop while the program waits for messages.
// Usage: quadrone_bare.exe picture.bmp
#include <ddraw.h>
#include <dsound.h>
#include <windows.h>

namespace {

IDirectDraw7* DirectDraw = nullptr;
IDirectDrawSurface7* Primary = nullptr;
IDirectDrawSurface7* Picture = nullptr;

void BlitPicture(HWND window)
{
    if (Primary == nullptr || Picture == nullptr) {
        return;
    }
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    RECT target = {origin.x, origin.y, origin.x + 640, origin.y + 480};
    Primary->Blt(&target, Picture, nullptr, DDBLT_WAIT, nullptr);
}

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        BlitPicture(window);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND CreateBareWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = BareWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.lpszClassName = "BareDirectDraw";
    RegisterClassA(&windowClass);
    const int width = 640 + 2 * GetSystemMetrics(SM_CXFRAME);
    const int height = 480 + 2 * GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION);
    HWND window = CreateWindowExA(0, "BareDirectDraw", "Bare DirectDraw", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
        CW_USEDEFAULT, CW_USEDEFAULT, width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    return window;
}

bool CreateDisplay(HWND window)
{
    IDirectDrawClipper* clipper = nullptr;
    DDSURFACEDESC2 description = {};
    description.dwSize = sizeof description;
    description.dwFlags = DDSD_CAPS;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    return SUCCEEDED(DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&DirectDraw), IID_IDirectDraw7, nullptr)) &&
           SUCCEEDED(DirectDraw->SetCooperativeLevel(window, DDSCL_NORMAL)) &&
           SUCCEEDED(DirectDraw->CreateSurface(&description, &Primary, nullptr)) &&
           SUCCEEDED(DirectDraw->CreateClipper(0, &clipper, nullptr)) && SUCCEEDED(clipper->SetHWnd(0, window)) &&
           SUCCEEDED(Primary->SetClipper(clipper));
}

bool LoadPicture(const char* path)
{
    HBITMAP bitmap =
        static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (bitmap == nullptr) {
        return false;
    }
    DDSURFACEDESC2 description = {};
    description.dwSize = sizeof description;
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    description.dwWidth = 640;
    description.dwHeight = 480;
    HDC surfaceDc = nullptr;
    bool loaded =
        SUCCEEDED(DirectDraw->CreateSurface(&description, &Picture, nullptr)) && SUCCEEDED(Picture->GetDC(&surfaceDc));
    if (loaded) {
        HDC memoryDc = CreateCompatibleDC(surfaceDc);
        HGDIOBJ old = SelectObject(memoryDc, bitmap);
        BitBlt(surfaceDc, 0, 0, 640, 480, memoryDc, 0, 0, SRCCOPY);
        SelectObject(memoryDc, old);
        DeleteDC(memoryDc);
        Picture->ReleaseDC(surfaceDc);
    }
    DeleteObject(bitmap);
    return loaded;
}

// One second of a quiet tone, looping, as the game's music keeps one buffer playing.
bool PlayLoopingBuffer(HWND window, IDirectSound8** device, IDirectSoundBuffer** buffer)
{
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = 44100 * 4;
    DSBUFFERDESC description = {};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_GLOBALFOCUS;
    description.dwBufferBytes = format.nAvgBytesPerSec;
    description.lpwfxFormat = &format;
    if (FAILED(DirectSoundCreate8(nullptr, device, nullptr)) ||
        FAILED((*device)->SetCooperativeLevel(window, DSSCL_PRIORITY)) ||
        FAILED((*device)->CreateSoundBuffer(&description, buffer, nullptr))) {
        return false;
    }
    void* data = nullptr;
    DWORD bytes = 0;
    if (SUCCEEDED((*buffer)->Lock(0, 0, &data, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER))) {
        short* samples = static_cast<short*>(data);
        for (DWORD i = 0; i < bytes / 2; ++i) {
            samples[i] = static_cast<short>((i / 2 % 100 < 50) ? 500 : -500);
        }
        (*buffer)->Unlock(data, bytes, nullptr, 0);
    }
    return SUCCEEDED((*buffer)->Play(0, 0, DSBPLAY_LOOPING));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    HWND window = CreateBareWindow();
    if (!CreateDisplay(window) || !LoadPicture(commandLine)) {
        MessageBoxA(window, "DirectDraw or the picture failed", "Error", MB_OK);
        return 1;
    }
    BlitPicture(window);
    IDirectSound8* sound = nullptr;
    IDirectSoundBuffer* buffer = nullptr;
    if (!PlayLoopingBuffer(window, &sound, &buffer)) {
        MessageBoxA(window, "DirectSound failed", "Error", MB_OK);
        return 1;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
