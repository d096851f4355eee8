// window_update_web.cpp -- the page shows the window's surface on its canvas, what changed alone.
// SDL's own update copies and puts the whole 640 x 480 picture for any drawing, which in play,
// where the board is drawn every frame, was most of the page's work.
#include <emscripten.h>

#include "sdl/shell/shell.h"
#include "sdl/shell/window_update_web.h"

namespace {

bool CanvasChanged = false;

// clang-format off
// The canvas keeps a picture of what it shows. The area's pixels are made opaque and compared with
// it, and only the box around those that changed is put on the canvas: in play the board is drawn
// every frame, and most frames nothing on it moved. All of it is put when the window is new.
EM_JS(int, PutOnCanvas, (const uint8_t* pixels, int pitch, int width, int height, int x, int y, int w, int h, int whole), {
    var shown = Module.quadroneShown;
    var canvas = Module.canvas;
    if (!shown || shown.canvas !== canvas || shown.image.width !== width || shown.image.height !== height) {
        var context = canvas.getContext("2d");
        var image = context.createImageData(width, height);
        shown = Module.quadroneShown = { canvas: canvas, context: context, image: image, pixels: new Uint32Array(image.data.buffer) };
    }
    var left = whole ? x : x + w, right = whole ? x + w : x, top = whole ? y : y + h, bottom = whole ? y + h : y;
    for (var row = y; row < y + h; row++) {
        var from = (pixels + row * pitch) >> 2;
        for (var column = x; column < x + w; column++) {
            var value = (HEAPU32[from + column] | 0xff000000) >>> 0;
            var at = row * width + column;
            if (shown.pixels[at] !== value) {
                shown.pixels[at] = value;
                left = Math.min(left, column);
                right = Math.max(right, column + 1);
                top = Math.min(top, row);
                bottom = row + 1;
            }
        }
    }
    if (left >= right) {
        return 0;
    }
    shown.context.putImageData(shown.image, 0, 0, left, top, right - left, bottom - top);
    return 1;
});
// clang-format on

}  // namespace

// The surface is SDL's for the canvas: its bytes are red, green, blue and one unused, in the order
// of the canvas's own.
void UpdateWindowArea(SDL_Surface* surface, const SDL_Rect& area, bool whole)
{
    const SDL_Rect shown = whole ? SDL_Rect{0, 0, surface->w, surface->h} : area;
    if (PutOnCanvas(static_cast<const uint8_t*>(surface->pixels), surface->pitch, surface->w, surface->h, shown.x,
            shown.y, shown.w, shown.h, whole ? 1 : 0) != 0) {
        CanvasChanged = true;
    }
}

bool TakeCanvasChange()
{
    const bool changed = CanvasChanged;
    CanvasChanged = false;
    return changed;
}
