// Start-up and shutdown on the real platform: each device failure as a row of one table, and a
// whole start whose window is minimised, restored and switched, and which shuts down once.
#define DIRECTINPUT_VERSION 0x0700
#include <ddraw.h>
#include <dinput.h>

#include <cstdio>
#include <optional>

#include "com_method_win32.h"
#include "core/game/frame_state.h"
#include "core/shell/shell.h"
#include "ports/platform.h"
#include "test_support.h"
#include "win32/audio/sound_manager.h"
#include "win32/input/keyboard.h"
#include "win32/shell/main_window.h"
#include "win32/shell/owned_message_box.h"
#include "win32/shell/shell.h"

namespace {

// Boxes as "text|caption|type", marked when Shutdown had already run as they came up.
std::vector<std::string> Boxes;

int WINAPI RecordBox(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    Boxes.push_back(
        std::string(text) + "|" + caption + "|" + std::to_string(type) + (HasShutDown() ? " after Shutdown" : ""));
    return IDOK;
}

// One object of each class whose methods the tests make refuse, made as the game makes its own.
enum Patched { Draw, Input, Keyboard, SoundDevice };
void* PlatformObject(Patched which)
{
    static void* objects[4] = {};
    if (objects[Draw] == nullptr) {
        DirectDrawCreateEx(nullptr, &objects[Draw], IID_IDirectDraw7, nullptr);
        DirectInputCreateA(
            GetModuleHandleA(nullptr), 0x0700, reinterpret_cast<IDirectInputA**>(&objects[Input]), nullptr);
        static_cast<IDirectInputA*>(objects[Input])
            ->CreateDevice(GUID_SysKeyboard, reinterpret_cast<IDirectInputDeviceA**>(&objects[Keyboard]), nullptr);
        DirectSoundCreate8(nullptr, reinterpret_cast<IDirectSound8**>(&objects[SoundDevice]), nullptr);
    }
    return objects[which];
}

}  // namespace

class StartUpTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        OwnedMessageBox = RecordBox;
    }

    void TearDown() override
    {
        EndRun();
        OwnedMessageBox = MessageBoxA;
        TempDirTest::TearDown();
    }

    // Starts as WinMain does, with every box recorded; the exit code, or 1 when the loop would run.
    // Hidden, the window goes in a moment (a shown one takes Wine 2 s), but is never in front.
    int Start(Patched where = Draw, std::optional<ComMethod> refusing = std::nullopt)
    {
        Boxes.clear();
        MusicEnabled = true;
        PatchedMethod acquired(PlatformObject(Keyboard), Method(&IDirectInputDeviceA::Acquire), &Answer<DI_OK>);
        std::optional<PatchedMethod> refused;
        if (refusing) {
            refused.emplace(PlatformObject(where), *refusing, &Answer<E_ACCESSDENIED>);
        }
        int exitCode = 0;
        return StartUp(GetModuleHandleA(nullptr), "", SW_HIDE, exitCode) ? 1 : exitCode;
    }

    // What the end of the process would take away: the window, its class and the posted quit.
    void EndRun()
    {
        DestroyWindow(MainWindow);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        UnregisterClassA("SpriteAnimate", GetModuleHandleA(nullptr));
    }
};

// A failure of the display, the keyboard or the sound device ends start-up: the display's box
// comes before Shutdown, the others after it; only the sound device's failure exits with 0.
TEST_F(StartUpTest, DeviceFailuresEndItWithTheirLinesBoxesAndExitCodes)
{
    const std::string input = "Failed to initialize DirectInput|Error|0 after Shutdown";
    struct Row {
        const char* name;
        Patched where;
        ComMethod refusing;
        std::vector<std::string> log;
        std::vector<std::string> boxes;
        int exitCode;
    };
    const Row rows[] = {
        {"display cooperative level", Draw, Method(&IDirectDraw7::SetCooperativeLevel), {},
            {"Failed to set cooperative level|Error|0",
                "DirectDraw init failed. The program will now exit. |Quadrone|16"},
            E_FAIL},
        {"keyboard device", Input, Method(&IDirectInputA::CreateDevice),
            {"DirectDraw initialized", "Failed to create DirectInput device"}, {input}, E_FAIL},
        {"keyboard data format", Keyboard, Method(&IDirectInputDeviceA::SetDataFormat),
            {"DirectDraw initialized", "Failed to set DirectInput data format"}, {input}, E_FAIL},
        {"keyboard cooperative level", Keyboard, Method(&IDirectInputDeviceA::SetCooperativeLevel),
            {"DirectDraw initialized", "Failed to set DirectInput cooperative level"}, {input}, E_FAIL},
        {"keyboard acquisition", Keyboard, Method(&IDirectInputDeviceA::Acquire), {"DirectDraw initialized"}, {input},
            E_FAIL},
        {"sound cooperative level", SoundDevice, Method(&IDirectSound8::SetCooperativeLevel),
            {"DirectDraw initialized", "DirectInput initialized"},
            {"Error initializing DirectSound|Error|0 after Shutdown"}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Start(row.where, row.refusing), row.exitCode);
        std::vector<std::string> log = {"-----------------", "Initializing...", "Window Created"};
        log.insert(log.end(), row.log.begin(), row.log.end());
        EXPECT_EQ(ReadDebugLog(), log);
        EXPECT_EQ(Boxes, row.boxes);
        EXPECT_TRUE(HasShutDown());
        EndRun();
    }
    // Wine makes no DirectInput object without an instance.
    std::remove("debug.log");
    EXPECT_LT(InitDirectInput(nullptr), 0);
    EXPECT_EQ(ReadDebugLog(), std::vector<std::string>{"Failed to create DirectInput object"});
    ReleaseKeyboard();
}

// Minimising stops the frames and restoring resumes them; a display switch that can set up
// neither mode ends the game as a failed start does; the frames follow the refresh rate the
// display reports after a switch and a display change; Shutdown does its work once.
TEST_F(StartUpTest, AWholeStartMinimisedSwitchedAndShutDownOnce)
{
    ASSERT_EQ(Start(), 1);
    for (const auto& [size, active] :
        {std::pair{SIZE_MINIMIZED, false}, {SIZE_RESTORED, true}, {SIZE_MAXHIDE, false}, {SIZE_MAXSHOW, true}}) {
        SendMessageA(MainWindow, WM_SIZE, size, 0);
        EXPECT_EQ(GameActive, active) << size;
    }

    Boxes.clear();  // the missing music's
    const RefreshRateReader display = ReadRefreshRate;
    ReadRefreshRate = []() -> uint32_t { return 75; };
    {
        PatchedMethod refused(
            PlatformObject(Draw), Method(&IDirectDraw7::SetCooperativeLevel), &Answer<E_ACCESSDENIED>);
        SwitchDisplayMode();
    }
    EXPECT_EQ(PacedRefreshRate(), 75u) << "the rate is read again after a switch";
    ReadRefreshRate = []() -> uint32_t { return 100; };
    SendMessageA(MainWindow, WM_DISPLAYCHANGE, 32, MAKELPARAM(800, 600));
    EXPECT_EQ(PacedRefreshRate(), 100u) << "and after a display change";
    ReadRefreshRate = display;
    EXPECT_EQ(Boxes,
        (std::vector<std::string>{"Failed to set cooperative level|Error|0", "Failed to set cooperative level|Error|0",
            "DirectDraw init failed. The program will now exit. |Quadrone|16"}));
    EXPECT_FALSE(FullScreen);
    MSG close;
    EXPECT_TRUE(PeekMessageA(&close, MainWindow, WM_CLOSE, WM_CLOSE, PM_REMOVE));

    Shutdown();
    EXPECT_EQ(GameSoundManager, nullptr);
    EXPECT_EQ(NotificationEvent, nullptr);
    // WinMain's call after WM_DESTROY already shut down finds nothing left to release.
    SoundManager* const kept = GameSoundManager = new SoundManager();
    Shutdown();
    EXPECT_EQ(GameSoundManager, kept);
    delete kept;
    GameSoundManager = nullptr;
}
