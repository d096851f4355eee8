// title_buttons.h -- the title screen's three buttons: the names and places of their pictures,
// and drawing them all, the same on every back end.
#pragma once

#include <cstdint>

#include "core/common/result_codes.h"
#include "ports/drawing.h"

constexpr int ButtonStateCount = 3;  // normal, hover, pressed

struct ButtonPlace {
    const char* names[ButtonStateCount];
    int32_t x;
    int32_t y;
};
// In the order of MenuButtonSet.
extern const ButtonPlace ButtonPlaces[MenuButtonCount];

// Names the button's pictures after its place in the set and puts it there; loading the pictures
// is the back end's.
void PlaceMenuButton(MenuButton& button, int index);

// Each button in its normal picture; the first failure ends it and is returned.
ResultCode DrawTitleButtons(const MenuButtonSet& buttons);
