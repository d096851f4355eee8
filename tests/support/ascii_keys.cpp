// ascii_keys.cpp -- the alphanumeric test natively: ASCII letters and digits only.
#include "ports/platform.h"

bool IsAlphaNumericKey(uint8_t key)
{
    return (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') || (key >= 'a' && key <= 'z');
}
