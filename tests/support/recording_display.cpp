// recording_display.cpp -- drawing as a recorder, for tests of the game code.
#include <string>

#include "ports/drawing.h"
#include "test_support.h"

namespace {
ResultCode NextPlayScreenResult = ResultOk;
ResultCode NextButtonResult = ResultOk;

ResultCode Recorded(const std::string& call, ResultCode result = ResultOk)
{
    RecordCall(call);
    return result;
}
}  // namespace

void SetDrawResults(ResultCode playScreen, ResultCode button)
{
    NextPlayScreenResult = playScreen;
    NextButtonResult = button;
}

ResultCode DrawPlayScreen()
{
    return Recorded("DrawPlayScreen", NextPlayScreenResult);
}
void ClearBoardSurface()
{
    Recorded("ClearBoardSurface");
}
ResultCode BlitBoardToScreen()
{
    return Recorded("BlitBoardToScreen");
}
ResultCode BlitNextPieceToScreen()
{
    return Recorded("BlitNextPieceToScreen");
}
bool DrawBackground(MenuButtonSet&)
{
    RecordCall("DrawBackground");
    return true;
}
ResultCode DrawTitleScreen(const MenuButtonSet&)
{
    return Recorded("DrawTitleScreen");
}
void DrawControlsScreen()
{
    Recorded("DrawControlsScreen");
}
void DrawTopFive()
{
    Recorded("DrawTopFive");
}
void LoadGraphics(MenuButtonSet&)
{
    Recorded("LoadGraphics");
}
ResultCode RestoreSurfaces(MenuButtonSet&)
{
    return Recorded("RestoreSurfaces");
}
void DrawSparks(int32_t row)
{
    Recorded("DrawSparks " + std::to_string(row));
}

void DrawScreenText(int32_t x, int32_t y, const char* text, Colour, Colour)
{
    Recorded("DrawScreenText " + std::to_string(x) + " " + std::to_string(y) + " " + text);
}

void DrawCenteredText(const char* text, int32_t top, Colour, Colour)
{
    Recorded("DrawCenteredText " + std::to_string(top) + " " + text);
}

ResultCode DrawButton(MenuButton button, int32_t state)
{
    return Recorded("DrawButton " + std::to_string(button.x) + " " + std::to_string(state), NextButtonResult);
}

ResultCode DrawStatic(bool screen1, bool screen3)
{
    return Recorded(std::string("DrawStatic ") + (screen1 ? "1" : "-") + (screen3 ? "3" : "-"));
}
