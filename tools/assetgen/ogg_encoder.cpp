// ogg_encoder.cpp -- drives libvorbisenc and libogg the standard way.
#include "ogg_encoder.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace {

constexpr int FixedSerial = 0x51554144;  // "QUAD"
constexpr float Quality = 0.2f;          // about 80 kbit/s for stereo at 44.1 kHz
constexpr int Chunk = 4096;

void AppendPage(std::vector<uint8_t>& out, const ogg_page& page)
{
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

std::vector<uint8_t> EncodeOggVorbis(const StereoMusic& music, int sampleRate)
{
    std::vector<uint8_t> out;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 2, sampleRate, Quality) != 0) {
        vorbis_info_clear(&info);
        return out;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", "Quadrone theme");
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, FixedSerial);

    ogg_packet header, commentPacket, codebooks;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentPacket, &codebooks);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentPacket);
    ogg_stream_packetin(&stream, &codebooks);
    ogg_page page;
    // Audio starts on a fresh page, as decoders expect.
    while (ogg_stream_flush(&stream, &page) != 0) {
        AppendPage(out, page);
    }

    const size_t frames = music.left.size();
    size_t done = 0;
    bool finished = false;
    while (!finished) {
        const int n = static_cast<int>(std::min<size_t>(Chunk, frames - done));
        if (n == 0) {
            vorbis_analysis_wrote(&dsp, 0);  // end of stream
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, n);
            std::copy_n(music.left.begin() + done, n, buffer[0]);
            std::copy_n(music.right.begin() + done, n, buffer[1]);
            vorbis_analysis_wrote(&dsp, n);
            done += n;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    AppendPage(out, page);
                    if (ogg_page_eos(&page)) {
                        finished = true;
                    }
                }
            }
        }
        if (n == 0) {
            finished = true;
        }
    }
    while (ogg_stream_flush(&stream, &page) != 0) {
        AppendPage(out, page);
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}
