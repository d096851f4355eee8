// window_update_web.h -- what the page's canvas tells its main loop.
#pragma once

// Whether the canvas showed anything new since the last call.
bool TakeCanvasChange();
