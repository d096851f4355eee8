// audio_test_support.cpp -- window, device, recorded boxes, Ogg files and failing allocations.
#include "audio_test_support.h"

#include <cmath>
#include <cstdlib>
#include <new>

#include <vorbis/vorbisfile.h>

#include "log/owned_message_box_win32.h"
#include "ogg_encoder.h"

size_t RefusedAllocationSize = 0;

void* operator new(size_t size)
{
    void* memory = RefusedAllocationSize != 0 && size >= RefusedAllocationSize ? nullptr : std::malloc(size + 1);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, size_t) noexcept
{
    std::free(memory);
}

namespace {

std::vector<std::string> Owned;

int WINAPI RecordOwnedBox(HWND, LPCSTR text, LPCSTR caption, UINT)
{
    Owned.push_back(std::string(text) + "|" + caption);
    return IDOK;
}

}  // namespace

HWND TestWindow()
{
    static HWND window = CreateWindowExA(0, "STATIC", "audio tests", WS_POPUP, 0, 0, 16, 16, nullptr, nullptr,
                                         GetModuleHandleA(nullptr), nullptr);
    return window;
}

void SoundDeviceTest::SetUp()
{
    TempDirTest::SetUp();
    ClearBoxes();
    OwnedMessageBox = RecordOwnedBox;
    ASSERT_EQ(manager.Init(TestWindow(), DSSCL_PRIORITY, 2, 44100, 16), DS_OK);
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
    std::vector<std::string> texts = Owned;
    for (const RecordedBox& box : RecordedMessageBoxes()) {
        texts.push_back(box.text + "|" + box.caption);
    }
    return texts;
}

void SoundDeviceTest::ClearBoxes()
{
    Owned.clear();
    ClearRecordedMessageBoxes();
}

StereoMusic TestMusic(uint32_t frames, uint32_t seed)
{
    StereoMusic music;
    uint32_t noise = seed;
    double phase = 0;
    for (uint32_t i = 0; i < frames; ++i) {
        phase += 2 * 3.14159265358979 * (200.0 + 1800.0 * i / frames) / 44100;
        noise = noise * 1664525u + 1013904223u;
        const double value = 9000 * std::sin(phase) + static_cast<int32_t>(noise >> 20) - 2048;
        music.left.push_back(static_cast<float>(value / 32768));
        music.right.push_back(static_cast<float>(-value / 65536));
    }
    return music;
}

void WriteOgg(const std::string& path, const StereoMusic& music)
{
    const Bytes bytes = EncodeOggVorbis(music, 44100);
    ASSERT_FALSE(bytes.empty()) << "the encoder refused " << path;
    WriteFileBytes(path, bytes);
}

Bytes DecodeOgg(const std::string& path)
{
    Bytes out;
    OggVorbis_File decoder;
    if (ov_fopen(path.c_str(), &decoder) != 0) {
        ADD_FAILURE() << "cannot decode " << path;
        return out;
    }
    char piece[4096];
    int section = 0;
    long count;
    while ((count = ov_read(&decoder, piece, sizeof piece, 0, 2, 1, &section)) != 0) {
        if (count > 0) {
            out.insert(out.end(), piece, piece + count);
        }
    }
    ov_clear(&decoder);
    return out;
}

std::string GameDataPath(const char* fileName)
{
    const char* folder = std::getenv("QUADRONE_GAME_DIR");
    return folder == nullptr ? std::string() : std::string(folder) + "/" + fileName;
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
