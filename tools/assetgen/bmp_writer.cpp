// bmp_writer.cpp -- writes pictures in the one bitmap layout the game reads.
#include "bmp_writer.h"

#include "byte_writer.h"

std::vector<uint8_t> EncodeBmp24(const Image& img)
{
    const uint32_t stride = (static_cast<uint32_t>(img.width) * 24 + 31) / 32 * 4;
    const uint32_t pixelBytes = stride * static_cast<uint32_t>(img.height);
    const uint32_t offBits = 14 + 40;
    ByteWriter out;
    out.Bytes("BM", 2);
    out.U32(offBits + pixelBytes);
    out.U32(0);  // reserved words
    out.U32(offBits);
    out.U32(40);
    out.U32(static_cast<uint32_t>(img.width));
    out.U32(static_cast<uint32_t>(img.height));  // positive: rows run bottom-up
    out.U16(1);
    out.U16(24);
    out.U32(0);  // BI_RGB
    out.U32(pixelBytes);
    out.U32(2835);  // 72 dots per inch
    out.U32(2835);
    out.U32(0);
    out.U32(0);
    for (int y = img.height - 1; y >= 0; --y) {
        for (int x = 0; x < img.width; ++x) {
            const Rgb c = img.Get(x, y);
            out.U8(c.b);
            out.U8(c.g);
            out.U8(c.r);
        }
        for (uint32_t pad = static_cast<uint32_t>(img.width) * 3; pad < stride; ++pad) {
            out.U8(0);
        }
    }
    return out.Take();
}
