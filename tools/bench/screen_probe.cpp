// screen_probe.cpp -- watches the X screen for the benchmark script (native, Xlib and XTest).
//   screen_probe title WINDOW-NAME REFERENCE.rgb X Y WIDTH HEIGHT START-NS TIMEOUT-S
//     waits until the game-area rectangle of the named window shows the reference picture
//     (raw RGB), then prints the milliseconds since START-NS (CLOCK_REALTIME nanoseconds).
//   screen_probe keys WINDOW-NAME PRESSES
//     presses Left and Right in turn and prints, for each press, the milliseconds from the key
//     event to the falling tetrad's shift on the board; a fall in between discards the press.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int AreaWidth = 640;
constexpr int AreaHeight = 480;
constexpr int BoardLeft = 200;
constexpr int BoardTop = 48;
constexpr int Cell = 24;
constexpr int BoardWidth = 10 * Cell;
constexpr int BoardHeight = 16 * Cell;

double RealtimeMs()
{
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

struct Origin {
    bool found;
    int x, y;
    int spareX, spareY;  // how much larger than the game area the window is
};

// The game area inside the named top-level window, centred as the end-to-end tests find the
// game's; a program that draws at its client origin puts it at the window's corner instead.
Origin FindArea(Display* display, const char* name)
{
    Window root = DefaultRootWindow(display), parent, *children = nullptr;
    unsigned count = 0;
    Origin origin = {false, 0, 0, 0, 0};
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) {
        return origin;
    }
    for (unsigned i = count; i-- > 0 && !origin.found;) {
        XWindowAttributes attributes;
        char* title = nullptr;
        if (!XGetWindowAttributes(display, children[i], &attributes) || attributes.map_state != IsViewable ||
            !XFetchName(display, children[i], &title)) {
            continue;
        }
        int x = 0, y = 0;
        Window child;
        if (std::strcmp(title, name) == 0 && XTranslateCoordinates(display, children[i], root, 0, 0, &x, &y, &child)) {
            const int spareX = std::max(0, attributes.width - AreaWidth),
                      spareY = std::max(0, attributes.height - AreaHeight);
            origin = {true, x + spareX / 2, y + spareY / 2, spareX, spareY};
        }
        XFree(title);
    }
    XFree(children);
    return origin;
}

// Pixels as 0xRRGGBB.
std::vector<unsigned> Grab(Display* display, int x, int y, int width, int height)
{
    std::vector<unsigned> pixels;
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, width, height, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return pixels;
    }
    pixels.reserve(width * height);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            pixels.push_back(XGetPixel(image, column, row) & 0xFFFFFF);
        }
    }
    XDestroyImage(image);
    return pixels;
}

int Title(Display* display, char** argv)
{
    std::ifstream file(argv[3], std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), {});
    const int x = std::atoi(argv[4]), y = std::atoi(argv[5]), width = std::atoi(argv[6]), height = std::atoi(argv[7]);
    const double start = std::atof(argv[8]) / 1e6;
    const double deadline = RealtimeMs() + std::atof(argv[9]) * 1000;
    std::vector<unsigned> reference;
    for (size_t i = 0; i + 2 < bytes.size(); i += 3) {
        reference.push_back(bytes[i] << 16 | bytes[i + 1] << 8 | bytes[i + 2]);
    }
    if (reference.size() != static_cast<size_t>(width * height)) {
        std::fprintf(stderr, "the reference is not %d x %d RGB\n", width, height);
        return 2;
    }
    while (RealtimeMs() < deadline) {
        const Origin area = FindArea(display, argv[2]);
        for (int corner = 0; area.found && corner < 2; ++corner) {
            const int left = area.x - corner * area.spareX / 2, top = area.y - corner * area.spareY / 2;
            if (Grab(display, left + x, top + y, width, height) == reference) {
                std::printf("%.0f\n", RealtimeMs() - start);
                return 0;
            }
        }
        usleep(1000);
    }
    std::fprintf(stderr, "the picture did not show within %s s\n", argv[9]);
    return 1;
}

// The band of board rows from the highest lit one: the falling tetrad, never its ghost, which
// lies at least four rows lower.
int TopLitRow(const std::vector<unsigned>& board)
{
    for (int y = 0; y < BoardHeight; ++y) {
        for (int x = 0; x < BoardWidth; ++x) {
            if (board[y * BoardWidth + x] != 0) {
                return y / Cell;
            }
        }
    }
    return -1;
}

bool ShiftedBy(const std::vector<unsigned>& before, const std::vector<unsigned>& after, int rows, int dx)
{
    for (int y = 0; y < rows * Cell; ++y) {
        for (int x = std::max(0, dx); x < BoardWidth + std::min(0, dx); ++x) {
            if (after[y * BoardWidth + x] != before[y * BoardWidth + x - dx]) {
                return false;
            }
        }
    }
    return true;
}

int Keys(Display* display, char** argv)
{
    const int presses = std::atoi(argv[3]);
    const KeyCode left = XKeysymToKeycode(display, XK_Left), right = XKeysymToKeycode(display, XK_Right);
    std::vector<double> latencies;
    for (int attempt = 0; attempt < presses * 3 && static_cast<int>(latencies.size()) < presses; ++attempt) {
        const Origin area = FindArea(display, argv[2]);
        if (!area.found) {
            break;
        }
        const int boardX = area.x + BoardLeft, boardY = area.y + BoardTop;
        const int top = TopLitRow(Grab(display, boardX, boardY, BoardWidth, BoardHeight));
        if (top < 0) {
            usleep(100000);
            continue;
        }
        const int rows = std::min(4, 16 - top);
        const auto band = [&] { return Grab(display, boardX, boardY + top * Cell, BoardWidth, rows * Cell); };
        const std::vector<unsigned> before = band();
        const KeyCode key = latencies.size() % 2 == 0 ? left : right;
        XTestFakeKeyEvent(display, key, True, 0);
        XFlush(display);
        const double pressed = RealtimeMs();
        std::vector<unsigned> after = before;
        while (after == before && RealtimeMs() - pressed < 1000) {
            usleep(250);
            after = band();
        }
        const double seen = RealtimeMs();
        XTestFakeKeyEvent(display, key, False, 0);
        XFlush(display);
        if (ShiftedBy(before, after, rows, key == left ? -Cell : Cell)) {
            latencies.push_back(seen - pressed);
        }
        usleep(250000);
    }
    for (double latency : latencies) {
        std::printf("%.1f ", latency);
    }
    std::printf("\n");
    return static_cast<int>(latencies.size()) == presses ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    if (argc == 10 && std::string(argv[1]) == "title") {
        return Title(display, argv);
    }
    if (argc == 4 && std::string(argv[1]) == "keys") {
        return Keys(display, argv);
    }
    std::fprintf(stderr, "usage: see the top of screen_probe.cpp\n");
    return 2;
}
