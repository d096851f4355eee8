// owned_message_box.h -- the message boxes that have the game window as owner.
#pragma once

#include <windows.h>

// MessageBoxA by default; tests put a recorder in its place, since a real box would block them.
using OwnedMessageBoxFunction = int(WINAPI*)(HWND window, LPCSTR text, LPCSTR caption, UINT type);
inline OwnedMessageBoxFunction OwnedMessageBox = MessageBoxA;
