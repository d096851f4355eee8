// keyboard.cpp -- the system keyboard through DirectInput 7, read by polling.
#define DIRECTINPUT_VERSION 0x0700
#include "win32/input/keyboard.h"

#include <dinput.h>

#include "core/log/debug_log.h"
#include "ports/keyboard_device.h"
#include "win32/shell/main_window.h"

namespace {
IDirectInputA* DirectInputObject = nullptr;
IDirectInputDeviceA* KeyboardDevice = nullptr;

HRESULT Logged(HRESULT result, const char* line)
{
    WriteDebugLog(line);
    return result;
}
}  // namespace

HRESULT InitDirectInput(HINSTANCE instance)
{
    HRESULT result = DirectInputCreateA(instance, 0x0700, &DirectInputObject, nullptr);
    if (FAILED(result)) {
        return Logged(result, "Failed to create DirectInput object");
    }
    result = DirectInputObject->CreateDevice(GUID_SysKeyboard, &KeyboardDevice, nullptr);
    if (FAILED(result)) {
        return Logged(result, "Failed to create DirectInput device");
    }
    if (FAILED(KeyboardDevice->SetDataFormat(&c_dfDIKeyboard))) {
        return Logged(E_FAIL, "Failed to set DirectInput data format");
    }
    result = KeyboardDevice->SetCooperativeLevel(MainWindow, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND);
    if (FAILED(result)) {
        return Logged(result, "Failed to set DirectInput cooperative level");
    }
    result = KeyboardDevice->Acquire();
    return FAILED(result) ? result : S_OK;
}

void ReleaseKeyboard()
{
    if (KeyboardDevice != nullptr) {
        KeyboardDevice->Unacquire();
        KeyboardDevice->Release();
        KeyboardDevice = nullptr;
    }
    if (DirectInputObject != nullptr) {
        DirectInputObject->Release();
        DirectInputObject = nullptr;
    }
}

ResultCode AcquireKeyboard()
{
    return KeyboardDevice != nullptr ? KeyboardDevice->Acquire() : ResultNotAcquired;
}

ResultCode ReadKeyboardState(uint8_t (&snapshot)[KeySnapshotSize])
{
    if (KeyboardDevice == nullptr) {
        return ResultNotAcquired;
    }
    return KeyboardDevice->GetDeviceState(KeySnapshotSize, snapshot);
}
