// title_buttons.cpp -- the title screen's buttons, through the drawing port.
#include "core/display/title_buttons.h"

#include <cstring>

const ButtonPlace ButtonPlaces[MenuButtonCount] = {
    {{"play-1.bmp", "play-2.bmp", "play-3.bmp"}, 470, 180},
    {{"scores-1.bmp", "scores-2.bmp", "scores-3.bmp"}, 410, 260},
    {{"quit-1.bmp", "quit-2.bmp", "quit-3.bmp"}, 470, 338},
};

void PlaceMenuButton(MenuButton& button, int index)
{
    const ButtonPlace& place = ButtonPlaces[index];
    for (int state = 0; state < ButtonStateCount; ++state) {
        std::strncpy(button.name[state], place.names[state], MenuButtonNameSize - 1);
        button.name[state][MenuButtonNameSize - 1] = '\0';
    }
    button.x = place.x;
    button.y = place.y;
}

ResultCode DrawTitleButtons(const MenuButtonSet& buttons)
{
    for (const MenuButton& button : buttons) {
        const ResultCode result = DrawButton(button, ButtonNormal);
        if (result < 0) {
            return result;
        }
    }
    return ResultOk;
}
