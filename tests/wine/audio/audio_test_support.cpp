// audio_test_support.cpp -- window, device, Ogg files and the scripted buffer for the audio tests.
#include "audio_test_support.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include "audio/music_stream_win32.h"

namespace {

std::vector<std::string> Owned;

int WINAPI RecordOwnedBox(HWND, LPCSTR text, LPCSTR caption, UINT)
{
    Owned.push_back(std::string(text) + "|" + caption);
    return IDOK;
}

void WritePage(std::FILE* out, const ogg_page& page)
{
    std::fwrite(page.header, 1, page.header_len, out);
    std::fwrite(page.body, 1, page.body_len, out);
}

void Flush(ogg_stream_state& stream, std::FILE* out)
{
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) {
        WritePage(out, page);
    }
}

// Hands encoded packets to the Ogg stream until the encoder has nothing more.
void Drain(vorbis_dsp_state& dsp, vorbis_block& block, ogg_stream_state& stream, std::FILE* out)
{
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        ogg_packet packet;
        while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
            ogg_stream_packetin(&stream, &packet);
            ogg_page page;
            while (ogg_stream_pageout(&stream, &page) != 0) {
                WritePage(out, page);
            }
        }
    }
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
    Owned.clear();
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

std::vector<std::string> OwnedBoxes()
{
    return Owned;
}

void ClearOwnedBoxes()
{
    Owned.clear();
}

std::vector<int16_t> TestMusic(uint32_t frames, uint32_t seed)
{
    std::vector<int16_t> samples(frames * 2);
    uint32_t noise = seed;
    double phase = 0;
    for (uint32_t i = 0; i < frames; ++i) {
        phase += 2 * 3.14159265358979 * (200.0 + 1800.0 * i / frames) / 44100;
        noise = noise * 1664525u + 1013904223u;
        const double value = 9000 * std::sin(phase) + static_cast<int32_t>(noise >> 20) - 2048;
        samples[2 * i] = static_cast<int16_t>(value);
        samples[2 * i + 1] = static_cast<int16_t>(-value / 2);
    }
    return samples;
}

void WriteOgg(const std::string& path, const std::vector<int16_t>& samples, long rate)
{
    std::FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    vorbis_info info;
    vorbis_info_init(&info);
    ASSERT_EQ(vorbis_encode_init_vbr(&info, 2, rate, 0.4f), 0);
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);
    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    Flush(stream, out);

    const size_t frames = samples.size() / 2;
    for (size_t done = 0; done < frames;) {
        const int count = static_cast<int>(std::min<size_t>(4096, frames - done));
        float** channels = vorbis_analysis_buffer(&dsp, count);
        for (int i = 0; i < count; ++i) {
            channels[0][i] = samples[2 * (done + i)] / 32768.0f;
            channels[1][i] = samples[2 * (done + i) + 1] / 32768.0f;
        }
        vorbis_analysis_wrote(&dsp, count);
        Drain(dsp, block, stream, out);
        done += count;
    }
    vorbis_analysis_wrote(&dsp, 0);
    Drain(dsp, block, stream, out);
    Flush(stream, out);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    std::fclose(out);
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

HRESULT ScriptedBuffer::GetStatus(LPDWORD answer)
{
    *answer = status;
    return DS_OK;
}

HRESULT ScriptedBuffer::Lock(DWORD offset, DWORD bytes, LPVOID* first, LPDWORD firstBytes, LPVOID*, LPDWORD,
                             DWORD)
{
    calls.push_back("Lock");
    *first = memory.data() + offset;
    *firstBytes = std::min<DWORD>(bytes, static_cast<DWORD>(memory.size()) - offset);
    return DS_OK;
}

HRESULT ScriptedBuffer::Play(DWORD, DWORD, DWORD flags)
{
    calls.push_back("Play " + std::to_string(flags));
    status |= DSBSTATUS_PLAYING;
    return DS_OK;
}

HRESULT ScriptedBuffer::SetCurrentPosition(DWORD newPosition)
{
    calls.push_back("SetCurrentPosition " + std::to_string(newPosition));
    position = newPosition;
    return DS_OK;
}

HRESULT ScriptedBuffer::SetVolume(LONG volume)
{
    calls.push_back("SetVolume " + std::to_string(volume));
    return DS_OK;
}

HRESULT ScriptedBuffer::Restore()
{
    const size_t turn = std::min<size_t>(restoreCalls, restoreAnswers.size() - 1);
    ++restoreCalls;
    const HRESULT answer = restoreAnswers.empty() ? DS_OK : restoreAnswers[turn];
    if (answer == DS_OK) {
        status &= ~DSBSTATUS_BUFFERLOST;
    }
    return answer;
}
