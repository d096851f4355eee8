// console_message_box.cpp -- ShowMessageBox for command-line tools: the box's text on stderr.
#include "ports/message_box.h"

#include <cstdio>

void ShowMessageBox(const char* text, const char* caption)
{
    std::fprintf(stderr, "%s: %s\n", caption, text);
}
