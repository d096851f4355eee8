// keyboard.h -- creating and releasing the DirectInput keyboard device.
#pragma once

#include <windows.h>

// 0, or the failing call's code (E_FAIL when the data format is refused); logs each failure.
HRESULT InitDirectInput(HINSTANCE instance);

// Unacquires and releases the device, then the DirectInput object; safe to call twice.
void ReleaseKeyboard();
