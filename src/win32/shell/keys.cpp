// keys.cpp -- which key codes count as letters or digits in the system's code page.
#include "ports/platform.h"

#include <windows.h>

bool IsAlphaNumericKey(uint8_t key)
{
    return IsCharAlphaNumericA(static_cast<CHAR>(key)) != FALSE;
}
