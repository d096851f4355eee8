// shell_state.cpp -- the shell's handles and the live window position.
#include "core/shell/screen.h"
#include "win32/shell/main_window.h"

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
