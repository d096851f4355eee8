// audio_test_support.cpp -- device, recorded boxes and data files for the audio tests.
#include "audio_test_support.h"

#include <cstdlib>

#include "ports/message_box.h"
#include "win32/shell/owned_message_box.h"

namespace {

// Owned boxes join the ownerless ones, in the order they came up.
int WINAPI RecordOwnedBox(HWND, LPCSTR text, LPCSTR caption, UINT)
{
    ShowMessageBox(text, caption);
    return IDOK;
}

}  // namespace

void SoundDeviceTest::SetUp()
{
    TempDirTest::SetUp();
    ClearRecordedMessageBoxes();
    OwnedMessageBox = RecordOwnedBox;
    ASSERT_EQ(manager.Init(GetDesktopWindow(), DSSCL_PRIORITY, 2, 44100, 16), DS_OK);
    GameSoundManager = &manager;
}

void SoundDeviceTest::TearDown()
{
    GameSoundManager = nullptr;
    OwnedMessageBox = MessageBoxA;
    TempDirTest::TearDown();
}

std::vector<std::string> SoundDeviceTest::Boxes()
{
    std::vector<std::string> texts;
    for (const RecordedBox& box : RecordedMessageBoxes()) {
        texts.push_back(box.text + "|" + box.caption);
    }
    return texts;
}

bool SoundDeviceTest::CopyGameFile(const char* name)
{
    const char* folder = std::getenv("QUADRONE_GAME_DIR");
    return folder != nullptr && CopyFileA((std::string(folder) + "/" + name).c_str(), name, FALSE);
}

Bytes ReadBuffer(IDirectSoundBuffer* buffer, DWORD offset, DWORD size)
{
    void* region = nullptr;
    DWORD locked = 0;
    if (FAILED(buffer->Lock(offset, size, &region, &locked, nullptr, nullptr, 0))) {
        ADD_FAILURE() << "Lock refused";
        return Bytes();
    }
    Bytes out(static_cast<uint8_t*>(region), static_cast<uint8_t*>(region) + locked);
    buffer->Unlock(region, locked, nullptr, 0);
    return out;
}
