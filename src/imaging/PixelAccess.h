#pragma once
// Pixel-level access to the packed block of a device with plain (not
// run-length compressed) colour bits. A view is only made after the block
// has been checked to hold every byte that the device's fields describe, so
// the accessors need no checks of their own beyond x < width, row < height.

#include <cstdint>
#include <optional>
#include <type_traits>

#include "model/DisplaySettings.h"
#include "model/IconDevice.h"

namespace sigil {

// Offsets of a device's parts inside its block.
struct BlockLayout {
    int64_t table = 0;  // colour table (after the header and any bit-field masks)
    int64_t bits = 0;   // colour bits
    int64_t mask = 0;   // AND mask
    int64_t stride = 0;
    int64_t maskStride = 0;
};

// The layout of a device whose block holds all that its fields describe,
// with a supported depth and plain pixels (compression 0); nothing
// otherwise. Bit-field and run-length pixels are expanded first.
inline std::optional<BlockLayout> plainLayout(const IconDevice& d)
{
    const bool depthOk = d.bitCount == 1 || d.bitCount == 4 || d.bitCount == 8 || d.bitCount == 16 ||
                         d.bitCount == 24 || d.bitCount == 32;
    if (!d.hasBlock() || !depthOk || d.compression != 0 || d.width <= 0 || d.height <= 0 ||
        d.allocatedBytes() < d.blockBytes())
        return std::nullopt;
    BlockLayout l;
    l.table = kHeaderBytes + d.maskFieldBytes();
    l.bits = l.table + IconDevice::colorTableBytes(d.bitCount);
    l.mask = l.bits + d.colorBitsBytes();
    l.stride = d.rowStride();
    l.maskStride = d.maskStride();
    // A stored image size smaller than the rows need would put the mask
    // inside the colour bits.
    if (l.mask - l.bits < l.stride * d.height)
        return std::nullopt;
    return l;
}

// Rows are stored rows: row 0 is the bottom row of the picture.
template <typename Byte> class PixelView {
public:
    PixelView(Byte* block, const BlockLayout& layout, int32_t w, int32_t h, int32_t bits)
        : block_(block),
          l_(layout),
          width(w),
          height(h),
          bitCount(bits)
    {}

    Byte* row(int64_t y) const { return block_ + l_.bits + y * l_.stride; }
    Byte* maskRow(int64_t y) const { return block_ + l_.mask + y * l_.maskStride; }
    Byte* table() const { return block_ + l_.table; }
    Byte* maskStart() const { return block_ + l_.mask; }
    int64_t maskStride() const { return l_.maskStride; }
    int64_t maskBytes() const { return l_.maskStride * height; }

    // Colour-table index of a 1-, 4- or 8-bit pixel.
    int index(int64_t x, int64_t y) const
    {
        const Byte* r = row(y);
        switch (bitCount) {
        case 1:
            return (r[x >> 3] >> (7 - (x & 7))) & 1;
        case 4:
            return (x & 1) ? (r[x >> 1] & 0x0F) : (r[x >> 1] >> 4);
        default:
            return r[x];
        }
    }

    // The colour of any pixel as 0x00BBGGRR: through the colour table for
    // palettes, 5-5-5 components scaled to 8 bits for 16 bits, and the
    // alpha byte of 32-bit pixels left out.
    Color color(int64_t x, int64_t y) const
    {
        const Byte* p = nullptr;
        switch (bitCount) {
        case 16: {
            const Byte* r = row(y) + 2 * x;
            const unsigned v = unsigned(r[0]) | (unsigned(r[1]) << 8);
            return rgbColor(scale5((v >> 10) & 31), scale5((v >> 5) & 31), scale5(v & 31));
        }
        case 24:
            p = row(y) + 3 * x;
            break;
        case 32:
            p = row(y) + 4 * x;
            break;
        default:
            p = table() + 4 * index(x, y);
            break;
        }
        return rgbColor(p[2], p[1], p[0]);
    }

    bool masked(int64_t x, int64_t y) const { return (maskRow(y)[x >> 3] >> (7 - (x & 7))) & 1; }

    void setIndex(int64_t x, int64_t y, int value) const requires(!std::is_const_v<Byte>)
    {
        Byte* r = row(y);
        switch (bitCount) {
        case 1: {
            const uint8_t bit = uint8_t(0x80 >> (x & 7));
            r[x >> 3] = uint8_t(value ? (r[x >> 3] | bit) : (r[x >> 3] & ~bit));
            break;
        }
        case 4:
            r[x >> 1] = (x & 1) ? uint8_t((r[x >> 1] & 0xF0) | (value & 0x0F))
                                : uint8_t((r[x >> 1] & 0x0F) | ((value & 0x0F) << 4));
            break;
        default:
            r[x] = uint8_t(value);
            break;
        }
    }

    void setMasked(int64_t x, int64_t y) const requires(!std::is_const_v<Byte>)
    {
        maskRow(y)[x >> 3] |= uint8_t(0x80 >> (x & 7));
    }

    // Sets the pixel's colour bytes (not a palette index) to zero: black
    // for 16, 24 bits, black and fully transparent for 32 bits.
    void zeroColor(int64_t x, int64_t y) const requires(!std::is_const_v<Byte>)
    {
        const int bytes = bitCount / 8;
        Byte* p = row(y) + bytes * x;
        for (int i = 0; i < bytes; ++i)
            p[i] = 0;
    }

    static uint8_t scale5(unsigned c) { return uint8_t((c << 3) | (c >> 2)); }

private:
    Byte* block_;
    BlockLayout l_;

public:
    const int32_t width;
    const int32_t height;
    const int32_t bitCount;
};

inline std::optional<PixelView<const uint8_t>> readPixels(const IconDevice& d)
{
    const auto l = plainLayout(d);
    if (!l)
        return std::nullopt;
    return PixelView<const uint8_t>(d.blockData(), *l, d.width, d.height, d.bitCount);
}

// The view is valid until the device's block is replaced or freed.
inline std::optional<PixelView<uint8_t>> writePixels(IconDevice& d)
{
    const auto l = plainLayout(d);
    if (!l)
        return std::nullopt;
    return PixelView<uint8_t>(d.blockData(), *l, d.width, d.height, d.bitCount);
}

}  // namespace sigil
