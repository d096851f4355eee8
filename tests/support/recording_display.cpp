// recording_display.cpp -- drawing as a recorder, for tests of the game code.
#include <string>

#include "drawing/effects.h"
#include "drawing/picture_set.h"
#include "drawing/playfield.h"
#include "drawing/text_screens.h"
#include "test_support.h"

namespace {
ResultCode NextPlayScreenResult = ResultOk;
ResultCode NextButtonResult = ResultOk;
}  // namespace

void SetDrawResults(ResultCode playScreen, ResultCode button)
{
    NextPlayScreenResult = playScreen;
    NextButtonResult = button;
}

ResultCode DrawPlayScreen()
{
    RecordCall("DrawPlayScreen");
    return NextPlayScreenResult;
}

void ClearBoardSurface()
{
    RecordCall("ClearBoardSurface");
}

ResultCode BlitBoardToScreen()
{
    RecordCall("BlitBoardToScreen");
    return ResultOk;
}

ResultCode BlitNextPieceToScreen()
{
    RecordCall("BlitNextPieceToScreen");
    return ResultOk;
}

void DrawScreenText(int32_t x, int32_t y, const char* text, Colour, Colour)
{
    RecordCall("DrawScreenText " + std::to_string(x) + " " + std::to_string(y) + " " + text);
}

void DrawCenteredText(const char* text, int32_t top, Colour, Colour)
{
    RecordCall("DrawCenteredText " + std::to_string(top) + " " + text);
}

ResultCode DrawButton(MenuButton button, int32_t state)
{
    RecordCall("DrawButton " + std::to_string(button.x) + " " + std::to_string(state));
    return NextButtonResult;
}

ResultCode DrawTitleScreen(const MenuButtonSet&)
{
    RecordCall("DrawTitleScreen");
    return ResultOk;
}

void DrawControlsScreen()
{
    RecordCall("DrawControlsScreen");
}

void DrawTopFive()
{
    RecordCall("DrawTopFive");
}

void DrawSparks(int32_t row)
{
    RecordCall("DrawSparks " + std::to_string(row));
}

ResultCode DrawStatic(bool screen1, bool screen3)
{
    RecordCall(std::string("DrawStatic ") + (screen1 ? "1" : "-") + (screen3 ? "3" : "-"));
    return ResultOk;
}

void LoadGraphics(MenuButtonSet&)
{
    RecordCall("LoadGraphics");
}

ResultCode RestoreSurfaces(MenuButtonSet&)
{
    RecordCall("RestoreSurfaces");
    return ResultOk;
}
