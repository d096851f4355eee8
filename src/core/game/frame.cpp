// frame.cpp -- the game's heartbeat: each call reads the clock and runs one frame of the
// current screen. Timers gather elapsed milliseconds and go back to 0 when they fire.
#include "core/game/frame.h"

#include <cstdio>

#include "core/common/random.h"
#include "core/game/board.h"
#include "core/game/frame_state.h"
#include "core/game/high_scores.h"
#include "core/game/keyboard.h"
#include "core/log/debug_log.h"
#include "core/shell/screen.h"
#include "ports/drawing.h"
#include "ports/platform.h"
#include "ports/sound.h"

namespace {

constexpr int PlayButton = 0;
constexpr int ScoresButton = 1;
constexpr uint32_t LockPauseMs = 100;
constexpr uint32_t StaticBurstMs = 5;
constexpr int32_t PlayMusicVolume = -500;

// Counters go back to a new game's values when a game is over; a whole new game resets them too.
void ResetCounters()
{
    Level = 1;
    Score = 0;
    Lines = 0;
    FallSpeed = 10;
}

// The draw's result counts here: a lost surface drops the click.
ResultCode ClickButton(MenuButtonSet& buttons, int index)
{
    MenuButton& button = buttons[index];
    button.state = ButtonHover;
    const ResultCode drawn = DrawButton(button, ButtonHover);
    if (drawn == ResultSurfaceLost) {
        RestoreSurfaces(buttons);
        return drawn;
    }
    if (drawn >= 0) {
        button.shown = ButtonHover;
    }
    if (index == PlayButton) {
        if (BoardNeedsClearing) {
            ClearBoard();
            ClearBoardSurface();
            BoardNeedsClearing = false;
        }
        SetMusicVolume(PlayMusicVolume);
        GameState = StatePlaying;
    } else if (index == ScoresButton) {
        GameState = StateTopFive;
    } else {
        PostClose();
        return ResultOk;
    }
    LastFrameTime = ClockNow();
    PostRepaint();
    return ResultOk;
}

bool CursorOver(const MenuButton& button, ScreenPoint cursor)
{
    const int32_t left = button.x + ScreenOffset.x;
    const int32_t top = button.y + ScreenOffset.y;
    return PointInRect(cursor.x, cursor.y, left, top, left + button.width, top + button.height);
}

// Each blit to the screen costs the window system a copy, so a button is drawn only when its
// picture changes; a failed draw is tried again in the next frame.
void ShowButtonState(MenuButton& button)
{
    if (button.shown != button.state && DrawButton(button, button.state) >= 0) {
        button.shown = button.state;
    }
}

// A click is a release over the button that was pressed; where the press began does not matter.
ResultCode TitleMenuFrame(MenuButtonSet& buttons)
{
    if (RepaintPending) {
        PostRepaint();
        RepaintPending = false;
    }
    const ScreenPoint cursor = CursorPosition();
    bool over[MenuButtonCount];
    bool overAny = false;
    for (int index = 0; index < MenuButtonCount; ++index) {
        over[index] = CursorOver(buttons[index], cursor);
        overAny = overAny || over[index];
    }
    // The mouse button matters only over a button.
    const bool down = overAny && LeftButtonDown();
    for (int index = 0; index < MenuButtonCount; ++index) {
        MenuButton& button = buttons[index];
        if (!over[index]) {
            button.state = ButtonNormal;
        } else if (down) {
            button.state = ButtonPressed;
        } else if (button.state == ButtonPressed) {
            return ClickButton(buttons, index);
        } else {
            button.state = ButtonHover;
        }
        ShowButtonState(button);
    }
    return ResultOk;
}

void EndGame()
{
    BoardNeedsClearing = true;
    CountersDirty = true;
    if (FindScoreRank() >= 0) {
        GameState = StateInitials;
        Initials[0] = '\0';
        InitialsActive = true;
        PromptDirty = true;
    } else {
        GameState = StateTopFive;
        ResetCounters();
    }
    BlitBoardToScreen();
}

void LockAndSpawn(uint32_t now)
{
    PlayEffect(AttachSound, 0, 0);
    CurrentTetrad = SavedTetrad;
    LockTetrad();
    SetCurrentTetrad(NextKind);
    NextKind = Random() % TetradKindCount;
    SetNextTetrad(NextKind);
    ClearFullLines();
    GhostVisible = false;
    // 0 means no pause, so a lock at clock 0 counts from 1.
    LockPauseStart = now != 0 ? now : 1;
    GhostTimer = 0;
}

// True when the tetrad landed and was locked.
bool TimedFall(uint32_t now)
{
    if (FallTimer < FallSpeed * 100) {
        return false;
    }
    SavedTetrad = CurrentTetrad;
    CurrentTetrad.y += 1;
    FallTimer = 0;
    const int32_t position = TestTetradPosition(CurrentTetrad);
    if (position == PositionOverlaps || position == PositionBelowFloor) {
        LockAndSpawn(now);
        return true;
    }
    if (position == PositionOutsideColumns) {
        CurrentTetrad = SavedTetrad;
    }
    return false;
}

ResultCode PlayingFrame(MenuButtonSet& buttons, uint32_t now, uint32_t elapsed)
{
    if (LockPauseStart != 0) {
        // Measured as a difference, so the pause survives the clock wrapping around.
        if (now - LockPauseStart <= LockPauseMs) {
            return ResultOk;
        }
        LockPauseStart = 0;
        ResetKeyStates();
        return ResultOk;
    }
    if (TestTetradPosition(CurrentTetrad) == PositionOverlaps) {
        EndGame();
        return ResultOk;
    }
    ProcessKBInput(elapsed);
    FallTimer += elapsed;
    GhostTimer += elapsed;
    InterferenceTimer += elapsed;
    if (TimedFall(now)) {
        return ResultOk;
    }
    LastFrameTime = now;
    const ResultCode drawn = DrawPlayScreen();
    if (drawn == ResultSurfaceLost) {
        RestoreSurfaces(buttons);
    } else if (drawn < 0) {
        return drawn;
    }
    return ResultOk;
}

void KeepStatic2Sounding()
{
    if (!SoundIsPlaying(Static2Sound)) {
        PlayEffect(Static2Sound, 0, PlayLooping);
    }
}

void StaticBurst(uint32_t elapsed, bool counterPanelToo)
{
    FallTimer += elapsed;
    if (FallTimer > StaticBurstMs) {
        DrawStatic(true, counterPanelToo);
        FallTimer = 0;
    }
}

ResultCode TopFiveFrame(uint32_t now, uint32_t elapsed)
{
    KeepStatic2Sounding();
    if (CountersDirty) {
        BlitBoardToScreen();
        DrawTopFive();
        CountersDirty = false;
    }
    StaticBurst(elapsed, true);
    LastFrameTime = now;
    return ResultOk;
}

void DrawCounterLine(int32_t y, const char* format, uint32_t value)
{
    char text[32];
    std::snprintf(text, sizeof text, format, static_cast<unsigned>(value));
    DrawScreenText(480, y, text, White, Black);
}

void DrawInitialsPrompt()
{
    char placed[32];
    std::snprintf(placed, sizeof placed, "You placed #%i!", static_cast<int>(FindScoreRank() + 1));
    DrawCenteredText(placed, 180, White, Black);
    DrawCenteredText("     Enter your initials:     ", 220, White, Black);
    DrawCenteredText("               ", 240, White, Black);
    DrawCenteredText(Initials, 240, White, Black);
}

ResultCode InitialsFrame(uint32_t now, uint32_t elapsed)
{
    if (!InitialsActive) {
        InsertHighScore(Initials, Score);
        GameState = StateTopFive;
        ResetCounters();
        CountersDirty = true;
        BlitBoardToScreen();
        return ResultOk;
    }
    if (CountersDirty) {
        BlitBoardToScreen();
        DrawCounterLine(215, "Score: %u", Score);
        DrawCounterLine(230, "Level: %u", Level);
        DrawCounterLine(245, "Lines: %u", Lines);
        CountersDirty = false;
    }
    if (PromptDirty) {
        DrawInitialsPrompt();
        PromptDirty = false;
    }
    KeepStatic2Sounding();
    StaticBurst(elapsed, false);
    LastFrameTime = now;
    return ResultOk;
}

}  // namespace

void ResetGameState(int32_t current, int32_t next)
{
    ClearBoard();
    InitTetradTable();
    SetCurrentTetrad(current);
    NextKind = next;
    SetNextTetrad(next);
    ResetCounters();
    CountersDirty = true;
    GameState = StateTitleMenu;
    PausedState = StateTitleMenu;
    LastFrameTime = 0;
    FallTimer = 0;
    GhostTimer = 0;
    GhostVisible = false;
    InterferenceTimer = 0;
    LockPauseStart = 0;
    BoardNeedsClearing = false;
    RepaintPending = false;
    Initials[0] = '\0';
    InitialsActive = false;
    PromptDirty = false;
    ResetKeyStates();
}

void StartGameState(uint32_t seed)
{
    SeedRandom(seed);
    const int32_t current = Random() % TetradKindCount;
    const int32_t next = Random() % TetradKindCount;
    ResetGameState(current, next);
    LastFrameTime = ClockNow();
    WriteDebugLog("Starting game...");
}

bool PointInRect(int32_t px, int32_t py, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return left <= px && px < right && top <= py && py < bottom;
}

ResultCode UpdateFrame(MenuButtonSet& buttons)
{
    const uint32_t now = ClockNow();
    const uint32_t elapsed = now - LastFrameTime;
    switch (GameState) {
    case StateTitleMenu: return TitleMenuFrame(buttons);
    case StatePlaying: return PlayingFrame(buttons, now, elapsed);
    case StateTopFive: return TopFiveFrame(now, elapsed);
    case StateInitials: return InitialsFrame(now, elapsed);
    default: return ResultOk;
    }
}
