// message_box_console.cpp -- ShowMessageBox for command-line tools: the box's text on stderr.
#include "log/message_box.h"

#include <cstdio>

void ShowMessageBox(const char* text, const char* caption)
{
    std::fprintf(stderr, "%s: %s\n", caption, text);
}
