// Expansion of stored colour bits into plain pixels: bit-field images become
// plain RGB, RLE8 images are decoded. Every reader passes its devices here.

#include <bit>
#include <cstring>

#include "model/IconDevice.h"

namespace sigil {

namespace {

// Shift of a bit-field mask: its trailing zeros, plus one when the field is
// still wider than 5 bits, so a 5-6-5 green field loses its lowest bit.
int maskShift(uint32_t mask)
{
    if (mask == 0)
        return 0;
    int shift = std::countr_zero(mask);
    if ((mask >> shift) > 31)
        ++shift;
    return shift;
}

// The start of an uncompressed copy of `src` (a device's block) at
// `bitCount` bits: `out` is sized and allocated, the first `keep` bytes
// (the header, and any colour table) copied, the compression cleared and
// the image size set. Null when the block would be too large or cannot be
// had.
uint8_t* beginPlainCopy(IconDevice& out, const uint8_t* src, size_t keep)
{
    if (out.blockBytes() > kMaxBlockBytes || !out.allocate())
        return nullptr;
    uint8_t* dst = out.blockData();
    std::memcpy(dst, src, keep);
    putU16(dst + hdr::kBitCount, static_cast<uint16_t>(out.bitCount));
    putU32(dst + hdr::kCompression, 0);
    putU32(dst + hdr::kImageSize, static_cast<uint32_t>(out.colorBitsBytes() + out.maskBytes()));
    return dst;
}

}  // namespace

bool IconDevice::expandPixels()
{
    if (!hasBlock())
        return false;
    // The block was sized from the fields; recheck so a hand-made device
    // with a short block cannot make us read past it.
    if (allocatedBytes() < blockBytes())
        return false;
    if (compression == 3)
        return bitCount == 32 ? dropBitFieldMasks() : expandBitFieldsTo24();
    if (compression == 1)
        return bitCount == 8 && expandRle8();
    return true;
}

bool IconDevice::dropBitFieldMasks()
{
    // The masks are dropped; the pixels are taken as blue, green, red, alpha.
    IconDevice out;
    const int64_t rest = colorBitsBytes() + maskBytes();
    if (!out.allocate(kHeaderBytes + rest))
        return false;
    std::memcpy(out.blockData(), blockData(), kHeaderBytes);
    std::memcpy(out.blockData() + kHeaderBytes, blockData() + kHeaderBytes + 12, static_cast<size_t>(rest));
    putU32(out.blockData() + hdr::kCompression, 0);
    adoptBlock(out);
    compression = 0;
    return true;
}

bool IconDevice::expandBitFieldsTo24()
{
    // Every depth but 32 is expanded to 24 bits by the same rule. Pixels
    // are read as bitCount / 8 whole bytes, so 1- and 4-bit pixels read
    // as 0 (black) and an 8-bit pixel is its index masked and scaled; the
    // colour table, stored after the masks, is passed over.
    const uint8_t* src = blockData();
    uint32_t masks[3];
    int shifts[3];
    for (int i = 0; i < 3; ++i) {
        masks[i] = getU32(src + kHeaderBytes + 4 * i);
        shifts[i] = maskShift(masks[i]);
    }
    const uint32_t scale = 256u / (1u << (bitCount / 3));
    const int pixelBytes = bitCount / 8;
    const int64_t srcStride = rowStride();
    const int64_t srcBits = colorBitsBytes();
    const uint8_t* srcPixels = src + kHeaderBytes + 12 + colorTableBytes(bitCount);
    const uint8_t* srcMask = srcPixels + srcBits;

    IconDevice out = shape(width, height, 24);
    const int64_t dstStride = out.rowStride();
    const int64_t dstBits = out.colorBitsBytes();
    uint8_t* dst = beginPlainCopy(out, src, kHeaderBytes);
    if (!dst)
        return false;
    for (int64_t y = 0; y < height; ++y) {
        const uint8_t* s = srcPixels + y * srcStride;
        uint8_t* d = dst + kHeaderBytes + y * dstStride;
        for (int64_t x = 0; x < width; ++x, s += pixelBytes) {
            uint32_t pixel = 0;
            for (int k = 0; k < pixelBytes; ++k)
                pixel |= uint32_t(s[k]) << (8 * k);
            // Stored order is blue, green, red; the masks are red, green, blue.
            for (int c = 0; c < 3; ++c)
                *d++ = uint8_t(scale * ((pixel & masks[2 - c]) >> shifts[2 - c]));
        }
    }
    std::memcpy(dst + kHeaderBytes + dstBits, srcMask, static_cast<size_t>(maskBytes()));
    adoptBlock(out);
    bitCount = 24;
    compression = 0;
    return true;
}

bool IconDevice::expandRle8()
{
    const int64_t packed = imageSize;
    const int64_t table = colorTableBytes(8);
    const uint8_t* src = blockData();
    const uint8_t* codes = src + kHeaderBytes + table;
    const uint8_t* srcMask = codes + colorBitsBytes();

    IconDevice out = shape(width, height, 8);
    const int64_t stride = out.rowStride();
    const int64_t bits = out.colorBitsBytes();
    uint8_t* dst = beginPlainCopy(out, src, static_cast<size_t>(kHeaderBytes + table));
    if (!dst)
        return false;
    uint8_t* pixels = dst + kHeaderBytes + table;

    // Codes may run past the compressed bytes (read as 0) and may move
    // the write position outside the picture: such bytes are dropped.
    auto at = [&](int64_t i) -> uint8_t { return (i >= 0 && i < packed) ? codes[i] : 0; };
    auto put = [&](int64_t pos, uint8_t value) {
        if (pos >= 0 && pos < bits)
            pixels[pos] = value;
    };
    int64_t r = 0;
    int64_t w = 0;
    while (r < packed) {
        const uint8_t first = at(r);
        const uint8_t second = at(r + 1);
        r += 2;
        if (first != 0) {
            for (int i = 0; i < first; ++i)
                put(w++, second);
        } else if (second == 2) {
            const int dx = static_cast<int8_t>(at(r));
            const int dy = static_cast<int8_t>(at(r + 1));
            r += 2;
            w += dx + dy * stride;
        } else if (second == 0 || second == 1) {
            // End of line, and end of bitmap: decoding goes on after the
            // latter while codes remain, as files in the wild rely on it.
            if (stride > 0 && w % stride != 0)
                w = (w / stride + (w > 0 ? 1 : 0)) * stride;
        } else {
            for (int i = 0; i < second; ++i)
                put(w++, at(r++));
        }
        if (r & 1)
            ++r;
    }
    std::memcpy(pixels + bits, srcMask, static_cast<size_t>(maskBytes()));
    adoptBlock(out);
    imageSize = 0;
    compression = 0;
    return true;
}

}  // namespace sigil
