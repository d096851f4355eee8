// close_window.exe CLASS -- asks the top-level window of that class to close, as its close box
// does, even while the program waits in a box of its own.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv)
{
    HWND window = argc == 2 ? FindWindowA(argv[1], nullptr) : nullptr;
    if (window == nullptr || !PostMessageA(window, WM_CLOSE, 0, 0)) {
        std::fprintf(stderr, "close_window: no window of class %s\n", argc == 2 ? argv[1] : "?");
        return 1;
    }
    return 0;
}
