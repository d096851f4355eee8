// shell_state_win32.cpp -- the shell's handles and the live window position.
#include "platform/main_window_win32.h"
#include "platform/screen.h"

HWND MainWindow = nullptr;
HANDLE NotificationEvent = nullptr;

void UpdateScreenOffset()
{
    RECT rect;
    if (MainWindow != nullptr && GetWindowRect(MainWindow, &rect)) {
        WindowRectangle = {rect.left, rect.top, rect.right, rect.bottom};
    }
    ScreenOffset = ComputeScreenOffset();
}
