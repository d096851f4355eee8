// screen_probe.cpp -- watches the X screen for the benchmark script (native, Xlib and XTest).
//   screen_probe title WINDOW-NAME REFERENCE.rgb X Y WIDTH HEIGHT START-NS TIMEOUT-S
//     waits until the game-area rectangle of the named window shows the reference picture
//     (raw RGB), then prints the milliseconds since START-NS (CLOCK_REALTIME nanoseconds).
//   screen_probe keys WINDOW-NAME PRESSES
//     presses Left and Right in turn and prints, for each press, the milliseconds from the key
//     event to the falling tetrad's shift on the board; a fall in between discards the press.
//   screen_probe settle WINDOW-NAME START-NS TIMEOUT-S QUIET-MS
//     for another program, whose first picture is not known: prints the milliseconds since
//     START-NS until its window was mapped, and until it first showed the picture that then
//     stayed, not all black, for QUIET-MS.
//   screen_probe board-keys WINDOW-NAME PRESSES
//     as keys, for another program with a black board in the largest child window of its own:
//     a press counts when the lit pixels' box moves sideways the key's way, its top and bottom
//     unchanged.
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

// The largest viewable top-level window of that name: a program's tooltips may share its name.
Window FindWindow(Display* display, const char* name)
{
    Window root = DefaultRootWindow(display), parent, *children = nullptr, found = None;
    unsigned count = 0;
    long largest = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) {
        return None;
    }
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        char* title = nullptr;
        if (!XGetWindowAttributes(display, children[i], &attributes) || attributes.map_state != IsViewable ||
            !XFetchName(display, children[i], &title)) {
            continue;
        }
        const long area = static_cast<long>(attributes.width) * attributes.height;
        if (std::strcmp(title, name) == 0 && area > largest) {
            found = children[i];
            largest = area;
        }
        XFree(title);
    }
    XFree(children);
    return found;
}

struct Rect {
    int x, y, width, height;
};

// A window's rectangle on the root window.
bool WindowRect(Display* display, Window window, Rect& rect)
{
    XWindowAttributes attributes;
    Window child;
    if (window == None || !XGetWindowAttributes(display, window, &attributes) ||
        !XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &rect.x, &rect.y, &child)) {
        return false;
    }
    rect.width = attributes.width;
    rect.height = attributes.height;
    return true;
}

// The raw bytes of a rectangle of the screen, for comparisons only; empty if it cannot be read.
std::string GrabRaw(Display* display, const Rect& rect)
{
    XImage* image =
        XGetImage(display, DefaultRootWindow(display), rect.x, rect.y, rect.width, rect.height, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return std::string();
    }
    std::string bytes(image->data, static_cast<size_t>(image->bytes_per_line) * image->height);
    XDestroyImage(image);
    return bytes;
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

bool AllBlack(const std::string& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char byte) { return byte == 0; });
}

int Settle(Display* display, char** argv)
{
    const double start = std::atof(argv[3]) / 1e6;
    const double deadline = RealtimeMs() + std::atof(argv[4]) * 1000;
    const double quiet = std::atof(argv[5]);
    double mapped = -1, shown = -1;
    std::string last;
    while (RealtimeMs() < deadline) {
        Rect rect;
        const double now = RealtimeMs();
        if (!WindowRect(display, FindWindow(display, argv[2]), rect)) {
            usleep(1000);
            continue;
        }
        if (mapped < 0) {
            mapped = now;
        }
        const std::string picture = GrabRaw(display, rect);
        if (picture.empty() || AllBlack(picture)) {
            shown = -1;
        } else if (picture != last) {
            shown = now;
        } else if (now - shown >= quiet) {
            std::printf("%.0f %.0f\n", mapped - start, shown - start);
            return 0;
        }
        last = picture;
        usleep(1000);
    }
    std::fprintf(stderr, "the window did not settle within %s s\n", argv[4]);
    return 1;
}

// The board: the window's largest child, else the window itself.
bool BoardRect(Display* display, Window window, Rect& board)
{
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (!WindowRect(display, window, board) || !XQueryTree(display, window, &root, &parent, &children, &count)) {
        return false;
    }
    long largest = 0;
    for (unsigned i = 0; i < count; ++i) {
        Rect rect;
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable &&
            static_cast<long>(attributes.width) * attributes.height > largest &&
            WindowRect(display, children[i], rect)) {
            board = rect;
            largest = static_cast<long>(attributes.width) * attributes.height;
        }
    }
    XFree(children);
    return true;
}

struct Box {
    int left, top, right, bottom;  // right and bottom exclusive; left > right when nothing is lit
    bool operator==(const Box& other) const
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

// The box around the pixels brighter than the board's near-black.
Box LitBox(const std::vector<unsigned>& pixels, int width)
{
    Box box = {width, 0, 0, 0};
    bool any = false;
    for (size_t i = 0; i < pixels.size(); ++i) {
        const unsigned pixel = pixels[i];
        if ((pixel >> 16 & 0xFF) + (pixel >> 8 & 0xFF) + (pixel & 0xFF) < 96) {
            continue;
        }
        const int x = static_cast<int>(i % width), y = static_cast<int>(i / width);
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x + 1);
        box.top = any ? box.top : y;
        box.bottom = y + 1;
        any = true;
    }
    return box;
}

int BoardKeys(Display* display, char** argv)
{
    const int presses = std::atoi(argv[3]);
    const KeyCode left = XKeysymToKeycode(display, XK_Left), right = XKeysymToKeycode(display, XK_Right);
    std::vector<double> latencies;
    for (int attempt = 0; attempt < presses * 3 && static_cast<int>(latencies.size()) < presses; ++attempt) {
        Rect board;
        if (!BoardRect(display, FindWindow(display, argv[2]), board)) {
            break;
        }
        const auto box = [&] {
            return LitBox(Grab(display, board.x, board.y, board.width, board.height), board.width);
        };
        const Box before = box();
        if (before.left >= before.right) {
            usleep(100000);
            continue;
        }
        const KeyCode key = latencies.size() % 2 == 0 ? left : right;
        XTestFakeKeyEvent(display, key, True, 0);
        XFlush(display);
        const double pressed = RealtimeMs();
        Box after = before;
        while (after == before && RealtimeMs() - pressed < 1000) {
            usleep(250);
            after = box();
        }
        const double seen = RealtimeMs();
        XTestFakeKeyEvent(display, key, False, 0);
        XFlush(display);
        const bool sideways = key == left ? after.left < before.left && after.right < before.right
                                          : after.left > before.left && after.right > before.right;
        if (sideways && after.top == before.top && after.bottom == before.bottom) {
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

// A window may go between finding it and reading it: the read then fails, not the probe.
int IgnoreError(Display*, XErrorEvent*)
{
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreError);
    if (argc == 10 && std::string(argv[1]) == "title") {
        return Title(display, argv);
    }
    if (argc == 4 && std::string(argv[1]) == "keys") {
        return Keys(display, argv);
    }
    if (argc == 6 && std::string(argv[1]) == "settle") {
        return Settle(display, argv);
    }
    if (argc == 4 && std::string(argv[1]) == "board-keys") {
        return BoardKeys(display, argv);
    }
    std::fprintf(stderr, "usage: see the top of screen_probe.cpp\n");
    return 2;
}
