// window.cpp -- the one window: class "SpriteAnimate", title "Quadrone", 640 x 480 inside.
#include "core/shell/shell.h"
#include "ports/message_box.h"
#include "win32/shell/main_window.h"
#include "win32/shell/shell.h"

namespace {
constexpr DWORD WindowedStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD FullScreenStyle = WS_POPUP;
}  // namespace

void ReadFrameMetrics()
{
    WindowFrame = {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME), GetSystemMetrics(SM_CYCAPTION)};
}

HRESULT InitWindow(HINSTANCE instance, int showCommand, HWND* window)
{
    HCURSOR cursor = LoadCursorA(instance, MAKEINTRESOURCEA(104));
    if (cursor == nullptr) {
        ShowMessageBox("Error loading cursor", "Error");
    }
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(101));
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "SpriteAnimate";
    if (RegisterClassA(&windowClass) == 0) {
        return E_FAIL;
    }

    ReadFrameMetrics();
    const WindowSize size = WindowSizeFor(FullScreen, WindowFrame);
    HWND created = CreateWindowExA(0, "SpriteAnimate", "Quadrone", FullScreen ? FullScreenStyle : WindowedStyle,
        CW_USEDEFAULT, CW_USEDEFAULT, size.width, size.height, nullptr, nullptr, instance, nullptr);
    if (created == nullptr) {
        return E_FAIL;
    }
    // Stored at once: showing the window already sends messages that post to it.
    MainWindow = created;
    *window = created;
    ShowWindow(created, showCommand);
    UpdateWindow(created);
    UpdateScreenOffset();
    PostMessageA(created, WM_PAINT, 0, 0);
    return S_OK;
}
