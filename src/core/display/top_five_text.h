// top_five_text.h -- the Top Five's heading and rows, written over the plate that a back end
// has drawn at (234, 136).
#pragma once

void DrawTopFiveText();
