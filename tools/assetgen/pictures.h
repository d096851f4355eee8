// pictures.h -- every picture of graphics.vbf, drawn from code.
#pragma once

#include <string>
#include <vector>

#include "image.h"

struct Picture {
    std::string name;  // archive entry name
    Image image;
};

// All 32 pictures in the order the game loads them.
std::vector<Picture> MakePictureSet();

// Picture families (one source file each).
Image MakeBlock(int index);       // 24 x 24, index 0..6
Image MakeGhostBlock(int index);  // 24 x 24, hollow twin of MakeBlock
Image MakeSpark(int index);       // 24 x 24 on pure black, index 0..2
Image MakeStatic(int variant);    // 640 x 480 noise, variant 0 or 1
Image MakeBackground();           // 640 x 480 play screen
Image MakeTitleScreen();          // 640 x 480
Image MakeControls();             // 480 x 360
Image MakeTopScores();            // 172 x 153
// Menu buttons: label "Play", "Scores" or "Quit", state 0 normal, 1 hover, 2 pressed.
Image MakeButton(const std::string& label, int state);

// Shared pieces of the screen pictures.
void DrawSky(Image& img, unsigned seed);                                     // gradient, stars and grid
void DrawPanel(Image& img, int x, int y, int w, int h);                      // bevelled steel frame around (x, y, w, h)
void DrawKeyCap(Image& img, int x, int y, int w, const std::string& label);  // 20 px high key
// Draws the block picture of colour index at (x, y), scaled by whole pixels.
void DrawBlockAt(Image& img, int x, int y, int index);
