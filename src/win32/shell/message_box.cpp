// message_box.cpp -- ShowMessageBox on the real platform.
#include "ports/message_box.h"

#include <windows.h>

void ShowMessageBox(const char* text, const char* caption)
{
    MessageBoxA(nullptr, text, caption, MB_OK);
}
