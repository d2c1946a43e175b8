#include "support/BmpBytes.h"

namespace sigil::test {

Bytes packRows(int w, int h, int bits, const PixelFn& pixel)
{
    const int raw = bits == 1 ? ((w - 1) / 32) * 4 + 4 : (bits == 4 ? (w + 1) / 2 : w * bits / 8);
    const int stride = (raw + 3) / 4 * 4;
    Bytes b(size_t(stride) * size_t(h), 0);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = b.data() + size_t(stride) * size_t(y);
        for (int x = 0; x < w; ++x) {
            const uint32_t v = pixel(x, y);
            switch (bits) {
            case 1:
                row[x / 8] |= uint8_t((v & 1) << (7 - x % 8));
                break;
            case 4:
                row[x / 2] |= uint8_t((v & 15) << (x % 2 ? 0 : 4));
                break;
            default:
                for (int i = 0; i < bits / 8; ++i)
                    row[x * bits / 8 + i] = uint8_t(v >> (8 * i));
                break;
            }
        }
    }
    return b;
}

Bmp plainBmp(int w, int h, int bits, const PixelFn& pixel)
{
    Bmp bmp;
    bmp.header.width = w;
    bmp.header.height = h;
    bmp.header.bitCount = uint16_t(bits);
    if (bits <= 8) {
        const int n = 1 << bits;
        for (int i = 0; i < n; ++i)
            bmp.palette.push_back(0x010101u * uint32_t(i * 255 / (n - 1)));
    }
    bmp.pixels = packRows(w, h, bits, pixel);
    return bmp;
}

Bmp fieldsBmp(int w, int h, int bits, const std::vector<uint32_t>& masks, const PixelFn& pixel)
{
    Bmp bmp = plainBmp(w, h, bits, pixel);
    bmp.header.compression = 3;
    bmp.masks = masks;
    return bmp;
}

Bytes dibBytes(const Bmp& bmp)
{
    Bytes b = headerBytes(bmp.header);
    for (uint32_t m : bmp.masks)
        put32(b, m);
    for (uint32_t c : bmp.palette)
        put32(b, c);
    b.insert(b.end(), bmp.gap, 0xEE);
    append(b, bmp.pixels);
    return b;
}

Bytes bmpFile(const Bmp& bmp)
{
    const Bytes dib = dibBytes(bmp);
    Bytes b{'B', 'M'};
    put32(b, bmp.fileSizeField.value_or(uint32_t(14 + dib.size())));
    put32(b, 0);
    put32(b, bmp.pixelOffset.value_or(uint32_t(14 + dib.size() - bmp.pixels.size())));
    append(b, dib);
    return b;
}

}  // namespace sigil::test
