#include <gtest/gtest.h>

#include <cstring>

#include "model/IconDevice.h"
#include "support/IconBytes.h"

using namespace sigil;
using namespace sigil::test;

namespace {

// A device as a reader leaves it before expansion: header through
// setFromHeader, then the stored data bytes after it.
IconDevice stored(const Header& h, const Bytes& data)
{
    IconDevice d;
    EXPECT_EQ(d.setFromHeader(headerBytes(h), true), 40);
    EXPECT_EQ(int64_t(data.size()), d.dataBytes());
    std::memcpy(d.blockData() + 40, data.data(), std::min<size_t>(data.size(), size_t(d.dataBytes())));
    return d;
}

Header header(int w, int h, int bits, int compression = 0, uint32_t imageSize = 0)
{
    Header x;
    x.width = w;
    x.height = 2 * h;
    x.bitCount = uint16_t(bits);
    x.compression = uint32_t(compression);
    x.imageSize = imageSize;
    return x;
}

TEST(ExpandPixels, Rgb565BitFieldsBecome24BitWithFiveBitComponents)
{
    // 2 x 1 pixels: white and a mixed colour; masks F800, 07E0, 001F.
    Bytes data;
    put32(data, 0xF800);
    put32(data, 0x07E0);
    put32(data, 0x001F);
    put16(data, 0xFFFF);
    put16(data, uint16_t((0x10 << 11) | (0x21 << 5) | 0x03));
    data.insert(data.end(), 4, 0xA5);  // AND mask row
    IconDevice d = stored(header(2, 1, 16, 3), data);
    ASSERT_TRUE(d.expandPixels());
    EXPECT_EQ(d.bitCount, 24);
    EXPECT_EQ(d.compression, 0);
    ASSERT_EQ(d.allocatedBytes(), d.blockBytes());
    const uint8_t* px = d.blockData() + 40;
    // Blue, green, red; every component a multiple of 8 up to 248.
    EXPECT_EQ(px[0], 248);
    EXPECT_EQ(px[1], 248);
    EXPECT_EQ(px[2], 248);
    EXPECT_EQ(px[3], 3 * 8);
    EXPECT_EQ(px[4], (0x21 >> 1) * 8);
    EXPECT_EQ(px[5], 0x10 * 8);
    EXPECT_EQ(px[8], 0xA5);  // the AND mask follows the 8-byte padded row
    EXPECT_EQ(getU16(d.blockData() + 14), 24);
    EXPECT_EQ(getU32(d.blockData() + 16), 0u);
    EXPECT_EQ(getU32(d.blockData() + 20), 8u + 4);
}

TEST(ExpandPixels, Plain16BitStays16Bit)
{
    IconDevice d = stored(header(2, 1, 16), Bytes(8, 0x42));
    ASSERT_TRUE(d.expandPixels());
    EXPECT_EQ(d.bitCount, 16);
    EXPECT_EQ(d.allocatedBytes(), 48);
}

TEST(ExpandPixels, BitFields32BitDropTheMasksAndKeepPixels)
{
    Bytes data;
    put32(data, 0x000000FF);  // masks that disagree with the BGRA order are ignored
    put32(data, 0x0000FF00);
    put32(data, 0x00FF0000);
    data.insert(data.end(), {1, 2, 3, 4});
    data.insert(data.end(), 4, 0x80);
    IconDevice d = stored(header(1, 1, 32, 3), data);
    ASSERT_TRUE(d.expandPixels());
    EXPECT_EQ(d.compression, 0);
    ASSERT_EQ(d.allocatedBytes(), 48);
    const uint8_t* px = d.blockData() + 40;
    EXPECT_EQ(px[0], 1);
    EXPECT_EQ(px[3], 4);
    EXPECT_EQ(px[4], 0x80);
}

TEST(ExpandPixels, BitFieldsOnEveryOtherDepthBecome24Bit)
{
    // 2 x 1 pixels behind a colour table that must be passed over. Pixels
    // are read as bitCount / 8 whole bytes: 1- and 4-bit ones as 0. The
    // 8-bit masks E0, 1C, 03 keep 3, 3 and 2 bits, scaled by 64 and cut to
    // 8 bits: FF gives 192 each; 49 gives red 2, green 2, blue 1.
    struct Case {
        int bits;
        Bytes row;
        Bytes expected;  // blue, green, red of both pixels
    };
    const Case cases[] = {
        {8, {0xFF, 0x49, 0, 0}, {192, 192, 192, 64, 128, 128}},
        {4, {0xFF, 0, 0, 0}, Bytes(6, 0)},
        {1, {0xC0, 0, 0, 0}, Bytes(6, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        Bytes data;
        put32(data, 0xE0);
        put32(data, 0x1C);
        put32(data, 0x03);
        data.insert(data.end(), size_t(4) << c.bits, 0x77);
        append(data, c.row);
        data.insert(data.end(), 4, 0xA5);  // AND mask row
        IconDevice d = stored(header(2, 1, c.bits, 3), data);
        ASSERT_TRUE(d.expandPixels());
        EXPECT_EQ(d.bitCount, 24);
        EXPECT_EQ(d.compression, 0);
        ASSERT_EQ(d.allocatedBytes(), d.blockBytes());
        const uint8_t* px = d.blockData() + 40;
        EXPECT_EQ(Bytes(px, px + 6), c.expected);
        EXPECT_EQ(px[8], 0xA5);
    }
}

IconDevice rle8(int w, int h, const Bytes& codes, uint8_t maskByte = 0x3C)
{
    Bytes data(1024, 0);
    append(data, codes);
    const int maskStride = ((w - 1) / 32 + 1) * 4;
    data.insert(data.end(), size_t(maskStride * h), maskByte);
    return stored(header(w, h, 8, 1, uint32_t(codes.size())), data);
}

Bytes pixelsOf(const IconDevice& d)
{
    const uint8_t* p = d.blockData() + 40 + 1024;
    return Bytes(p, p + d.colorBitsBytes());
}

TEST(ExpandPixels, Rle8RunsAbsoluteRunsAndLineEnds)
{
    // 4 x 3: row 0 = run of 3 x 7; end of line; row 1 = absolute 1 2 3
    // (padded to an even length); end of line; row 2 = 2 x 9, delta (1, 0).
    const Bytes codes = {3, 7, 0, 0, 0, 3, 1, 2, 3, 0, 0, 0, 2, 9, 0, 2, 1, 0, 1, 5, 0, 1};
    IconDevice d = rle8(4, 3, codes);
    ASSERT_TRUE(d.expandPixels());
    EXPECT_EQ(d.compression, 0);
    EXPECT_EQ(d.imageSize, 0);
    ASSERT_EQ(d.allocatedBytes(), d.blockBytes());
    EXPECT_EQ(pixelsOf(d), (Bytes{7, 7, 7, 0, 1, 2, 3, 0, 9, 9, 0, 5}));
    // The AND mask is carried over after the decoded pixels.
    EXPECT_EQ(d.blockData()[40 + 1024 + 12], 0x3C);
    EXPECT_EQ(getU32(d.blockData() + 16), 0u);
    EXPECT_EQ(getU32(d.blockData() + 20), 12u + 12);
}

TEST(ExpandPixels, Rle8KeepsDecodingAfterEndOfBitmap)
{
    const Bytes codes = {2, 4, 0, 1, 2, 6};
    IconDevice d = rle8(4, 2, codes);
    ASSERT_TRUE(d.expandPixels());
    // End of bitmap moves to the next row; the later run lands there.
    EXPECT_EQ(pixelsOf(d), (Bytes{4, 4, 0, 0, 6, 6, 0, 0}));
}

TEST(ExpandPixels, Rle8CodesThatRunPastThePictureAreClipped)
{
    // A run of 200 into a 4 x 2 picture, a delta far outside, an absolute
    // run longer than the compressed data, and a backwards delta.
    const Bytes codes = {200, 1, 0, 2, 0x7F, 0x7F, 0, 2, 0x80, 0x80, 3, 2, 0, 50, 8};
    IconDevice d = rle8(4, 2, codes);
    ASSERT_TRUE(d.expandPixels());
    EXPECT_EQ(pixelsOf(d), (Bytes{1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(d.blockData()[40 + 1024 + 8], 0x3C);  // mask untouched
}

TEST(ExpandPixels, RunLengthOnOtherDepthsIsRefused)
{
    Header h = header(4, 1, 4, 1, 2);
    Bytes data(64 + 2 + 4, 0);
    IconDevice d = stored(h, data);
    EXPECT_FALSE(d.expandPixels());
    EXPECT_EQ(d.compression, 1);
    EXPECT_EQ(d.bitCount, 4);
}

}  // namespace
