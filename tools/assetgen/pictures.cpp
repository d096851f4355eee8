// pictures.cpp -- the picture set in the order the game loads it.
#include "pictures.h"

std::vector<Picture> MakePictureSet()
{
    std::vector<Picture> set;
    set.push_back({"titlescreen.bmp", MakeTitleScreen()});
    set.push_back({"background.bmp", MakeBackground()});
    set.push_back({"controls.bmp", MakeControls()});
    for (int i = 1; i <= 7; ++i) {
        set.push_back({"block" + std::to_string(i) + ".bmp", MakeBlock(i - 1)});
        set.push_back({"block" + std::to_string(i) + "-ghost.bmp", MakeGhostBlock(i - 1)});
    }
    for (int i = 1; i <= 3; ++i) {
        set.push_back({"spark" + std::to_string(i) + ".bmp", MakeSpark(i - 1)});
    }
    set.push_back({"topscores.bmp", MakeTopScores()});
    set.push_back({"static1.bmp", MakeStatic(0)});
    set.push_back({"static2.bmp", MakeStatic(1)});
    const char* labels[3] = {"Play", "Scores", "Quit"};
    const char* prefixes[3] = {"play", "scores", "quit"};
    for (int b = 0; b < 3; ++b) {
        for (int s = 0; s < 3; ++s) {
            set.push_back({std::string(prefixes[b]) + "-" + std::to_string(s + 1) + ".bmp", MakeButton(labels[b], s)});
        }
    }
    return set;
}
