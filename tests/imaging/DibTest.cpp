#include <gtest/gtest.h>

#include <QImage>

#include "support/QtPixels.h"
#include <limits>

#include "imaging/Dib.h"
#include "support/BmpBytes.h"

using namespace sigil;
using namespace sigil::test;

namespace {

// A picture that differs at every pixel within the values a depth holds.
uint32_t pattern(int bits, int x, int y)
{
    switch (bits) {
    case 1:
        return uint32_t((x + y) % 2);
    case 4:
        return uint32_t((x + 3 * y) % 16);
    case 8:
        return uint32_t((7 * x + 11 * y) % 256);
    case 16:
        return uint32_t((x * 997 + y * 31) & 0x7FFF);
    case 24:
        return uint32_t(x * 0x010203 + y * 0x100000) & 0xFFFFFF;
    default:
        return 0xFF000000u | (uint32_t(x * 0x010203 + y * 0x100000) & 0xFFFFFF);
    }
}

void expectPixels(const IconDevice& d, int w, int h, const PixelFn& expected)
{
    ASSERT_EQ(d.width, w);
    ASSERT_EQ(d.height, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(pixelAt(d, x, y), expected(x, y)) << "pixel " << x << "," << y;
}

class DepthTest : public ::testing::TestWithParam<int> {};

TEST_P(DepthTest, ReadsPixelsAndTableAsStored)
{
    const int bits = GetParam();
    const int w = 13, h = 5;  // odd width: every row is padded
    const PixelFn pixel = [bits](int x, int y) { return pattern(bits, x, y); };
    const Bmp bmp = plainBmp(w, h, bits, pixel);
    IconDevice d;
    ASSERT_TRUE(readDib(dibBytes(bmp), d));
    EXPECT_EQ(d.bitCount, bits);
    EXPECT_EQ(d.compression, 0);
    EXPECT_EQ(d.allocatedBytes(), d.blockBytes());
    EXPECT_EQ(getI32(d.blockData() + 8), 2 * h);  // icon convention
    expectPixels(d, w, h, pixel);
    EXPECT_EQ(maskedCount(d), 0);
    for (size_t i = 0; i < bmp.palette.size(); ++i)
        EXPECT_EQ(getU32(d.blockData() + 40 + 4 * i), bmp.palette[i]);
}

TEST_P(DepthTest, DeviceRoundTripsThroughDib)
{
    const int bits = GetParam();
    const PixelFn pixel = [bits](int x, int y) { return pattern(bits, x, y); };
    IconDevice source = makeDevice(35, 6, bits, pixel);  // 35: two mask words per row
    setMask(source, [](int x, int) { return x == 3; });
    const auto dib = dibFromDevice(source, false);
    ASSERT_TRUE(dib);
    EXPECT_EQ(getI32(dib->data() + 8), 6);
    EXPECT_EQ(getU32(dib->data() + 20), uint32_t(source.colorBitsBytes()));
    EXPECT_EQ(int64_t(dib->size()), source.blockBytes() - source.maskBytes());

    IconDevice back;
    ASSERT_TRUE(readDib(*dib, back));
    EXPECT_EQ(back.bitCount, bits);
    expectPixels(back, 35, 6, pixel);
    EXPECT_EQ(maskedCount(back), 0);  // the image goes without its mask
    // After the header, the block comes back byte for byte.
    EXPECT_TRUE(std::equal(dib->begin() + 40, dib->end(), back.blockData() + 40));
}

INSTANTIATE_TEST_SUITE_P(Depths, DepthTest, ::testing::Values(1, 4, 8, 16, 24, 32));

TEST(ReadDib, TopDownRowsComeOutUpright)
{
    for (int bits : {4, 24}) {
        Bmp bmp = plainBmp(6, 4, bits, [bits](int x, int y) { return pattern(bits, x, y); });
        bmp.header.height = -4;
        IconDevice d;
        ASSERT_TRUE(readDib(dibBytes(bmp), d)) << bits;
        EXPECT_EQ(getI32(d.blockData() + 8), 8);
        // The first row in the data is the top row: stored row 3.
        expectPixels(d, 6, 4, [bits](int x, int y) { return pattern(bits, x, 3 - y); });
    }
}

TEST(ReadDib, ShortColorTableLeavesMissingEntriesBlack)
{
    Bmp bmp = plainBmp(4, 1, 8, [](int x, int) { return uint32_t(x); });
    bmp.palette = {0xFF0000, 0x00FF00, 0x0000FF};
    bmp.header.colorsUsed = 3;
    IconDevice d;
    ASSERT_TRUE(readDib(dibBytes(bmp), d));  // the rows follow the three entries
    expectPixels(d, 4, 1, [](int x, int) { return uint32_t(x); });
    EXPECT_EQ(getU32(d.blockData() + 40 + 4), 0x00FF00u);
    EXPECT_EQ(getU32(d.blockData() + 40 + 8), 0x0000FFu);
    EXPECT_EQ(getU32(d.blockData() + 40 + 12), 0u);
    EXPECT_EQ(getU32(d.blockData() + 32), 256u);  // the device's table is full
}

TEST(ReadDib, ExplicitPixelOffsetSkipsGapAndOptionalTable)
{
    Bmp bmp = plainBmp(3, 2, 24, [](int x, int y) { return pattern(24, x, y); });
    bmp.palette = {1, 2};  // an optional table of a true-colour picture
    bmp.header.colorsUsed = 2;
    bmp.gap = 10;
    IconDevice d;
    ASSERT_TRUE(readDib(dibBytes(bmp), d, 40 + 8 + 10));
    expectPixels(d, 3, 2, [](int x, int y) { return pattern(24, x, y); });
    EXPECT_EQ(getU32(d.blockData() + 32), 0u);  // no table in the device
    // Without the offset the gap would be read as pixels.
    ASSERT_TRUE(readDib(dibBytes(bmp), d));
    EXPECT_EQ(pixelAt(d, 0, 0), 0xEEEEEEu);
}

TEST(ReadDib, ZeroAlphaBecomesTransparentBlack)
{
    const Bmp bmp = plainBmp(3, 2, 32, [](int x, int) { return x == 1 ? 0x00FFFFFFu : 0x80123456u; });
    IconDevice d;
    ASSERT_TRUE(readDib(dibBytes(bmp), d));
    EXPECT_EQ(maskedCount(d), 2);
    EXPECT_TRUE(maskedAt(d, 1, 1));
    EXPECT_EQ(pixelAt(d, 1, 1), 0u);
    EXPECT_EQ(pixelAt(d, 0, 1), 0x80123456u);
}

TEST(ReadDib, ThirtyTwoBitFieldsBecomePlain)
{
    const Bmp bmp =
        fieldsBmp(2, 2, 32, {0x00FF0000, 0x0000FF00, 0x000000FF}, [](int x, int) { return x ? 0xFF0000FFu : 0u; });
    IconDevice d;
    ASSERT_TRUE(readDib(dibBytes(bmp), d));
    EXPECT_EQ(d.compression, 0);
    EXPECT_EQ(d.allocatedBytes(), d.blockBytes());
    EXPECT_EQ(pixelAt(d, 1, 0), 0xFF0000FFu);
    EXPECT_TRUE(maskedAt(d, 0, 0));
}

TEST(ReadDib, SixteenBitFieldsKeptForNormalize)
{
    const Bmp bmp = fieldsBmp(2, 1, 16, {0xF800, 0x07E0, 0x001F}, [](int, int) { return 0xF800u; });
    IconDevice d;
    ASSERT_TRUE(readDib(dibBytes(bmp), d));
    EXPECT_EQ(d.compression, 3);
    EXPECT_EQ(getU32(d.blockData() + 40), 0xF800u);
}

TEST(ReadDib, MalformedHeadersAreRefused)
{
    struct Case {
        const char* what;
        std::function<void(Bmp&)> spoil;
    };
    const Case cases[] = {
        {"os/2 header", [](Bmp& b) { b.header.size = 12; }},
        {"v5 header", [](Bmp& b) { b.header.size = 124; }},
        {"rle4", [](Bmp& b) { b.header.compression = 2; }},
        {"jpeg inside", [](Bmp& b) { b.header.compression = 4; }},
        {"bit fields on a palette", [](Bmp& b) { b.header.compression = 3; }},
        {"rle8 on 4 bits", [](Bmp& b) { b.header.compression = 1, b.header.bitCount = 4; }},
        {"2 bits", [](Bmp& b) { b.header.bitCount = 2; }},
        {"0 bits", [](Bmp& b) { b.header.bitCount = 0; }},
        {"zero width", [](Bmp& b) { b.header.width = 0; }},
        {"negative width", [](Bmp& b) { b.header.width = -8; }},
        {"zero height", [](Bmp& b) { b.header.height = 0; }},
        {"most negative height", [](Bmp& b) { b.header.height = std::numeric_limits<int32_t>::min(); }},
        {"huge width", [](Bmp& b) { b.header.width = 70000; }},
        {"rows past the end", [](Bmp& b) { b.header.height = 60000; }},
        {"absurd colour count", [](Bmp& b) { b.header.colorsUsed = 0x40000000; }},
        {"colour count past the end", [](Bmp& b) { b.header.colorsUsed = 257 + 64; }},
        {"rle8 top-down", [](Bmp& b) { b.header.compression = 1, b.header.height = -4; }},
        {"rle8 codes past the end", [](Bmp& b) { b.header.compression = 1, b.header.imageSize = 100000; }},
        {"pixels cut short", [](Bmp& b) { b.pixels.resize(b.pixels.size() - 1); }},
    };
    for (const Case& c : cases) {
        Bmp bmp = plainBmp(8, 4, 8, [](int x, int) { return uint32_t(x); });
        c.spoil(bmp);
        IconDevice d;
        EXPECT_FALSE(readDib(dibBytes(bmp), d)) << c.what;
        EXPECT_FALSE(d.hasBlock()) << c.what;
    }
}

TEST(ReadDib, EveryTruncationRefusedAndOffsetsBounded)
{
    const Bytes dib = dibBytes(plainBmp(5, 3, 4, [](int x, int) { return uint32_t(x); }));
    for (size_t n = 0; n < dib.size(); ++n) {
        IconDevice d;
        EXPECT_FALSE(readDib(ByteView(dib.data(), n), d)) << n;
    }
    IconDevice d;
    EXPECT_FALSE(readDib(dib, d, int64_t(dib.size()) + 1));
    EXPECT_FALSE(readDib(dib, d, int64_t(dib.size()) - 1));  // rows cut short
    EXPECT_TRUE(readDib(dib, d, -5));                        // inside the header: after the table
}

TEST(DibFromDevice, MaskOfTrueColorIsGreyInverseOfAlpha)
{
    const IconDevice d = makeDevice(5, 2, 32, [](int x, int) { return uint32_t(x * 60) << 24 | 0x123456u; });
    const auto dib = dibFromDevice(d, true);
    ASSERT_TRUE(dib);
    IconDevice grey;
    ASSERT_TRUE(readDib(*dib, grey));
    EXPECT_EQ(grey.bitCount, 8);
    EXPECT_EQ(getU32(dib->data() + 32), 256u);
    expectPixels(grey, 5, 2, [](int x, int) { return uint32_t(255 - x * 60); });
    for (int i : {0, 17, 255})
        EXPECT_EQ(getU32(grey.blockData() + 40 + 4 * i), 0x010101u * uint32_t(i));
}

TEST(DibFromDevice, MaskOfOtherDepthsIsTheAndMask)
{
    for (int bits : {1, 4, 8, 16, 24}) {
        IconDevice d = makeDevice(40, 3, bits, [](int, int) { return 1u; });
        setMask(d, [](int x, int y) { return x == y || x == 39; });
        const auto dib = dibFromDevice(d, true);
        ASSERT_TRUE(dib) << bits;
        IconDevice mono;
        ASSERT_TRUE(readDib(*dib, mono));
        EXPECT_EQ(mono.bitCount, 1);
        EXPECT_EQ(getU32(mono.blockData() + 40), 0u);         // black
        EXPECT_EQ(getU32(mono.blockData() + 44), 0xFFFFFFu);  // white: transparent
        expectPixels(mono, 40, 3, [](int x, int y) { return uint32_t(x == y || x == 39); });
    }
}

TEST(DibFromDevice, RefusesDevicesWithoutTheirBytes)
{
    EXPECT_FALSE(dibFromDevice(IconDevice{}, false));
    IconDevice d = makeDevice(4, 4, 24, [](int, int) { return 0u; });
    d.height = 40;
    EXPECT_FALSE(dibFromDevice(d, false));
    EXPECT_FALSE(dibFromDevice(d, true));
}

TEST(DibFromRgba, AlphaPicksTheDepthAndRowsTurnBottomUp)
{
    QImage argb(3, 2, QImage::Format_ARGB32);
    argb.fill(qRgba(10, 20, 30, 40));
    argb.setPixel(0, 0, qRgba(1, 2, 3, 0));  // top-left
    auto dib = dibFromRgba(test::rgbaOf(argb).view(), true);
    ASSERT_TRUE(dib);
    IconDevice d;
    ASSERT_TRUE(readDib(*dib, d));
    EXPECT_EQ(d.bitCount, 32);
    EXPECT_EQ(pixelAt(d, 2, 0), 0x280A141Eu);
    EXPECT_TRUE(maskedAt(d, 0, 1));  // alpha 0: transparent black
    EXPECT_EQ(pixelAt(d, 0, 1), 0u);

    QImage rgb(3, 2, QImage::Format_RGB32);
    rgb.fill(qRgb(10, 20, 30));
    rgb.setPixel(2, 1, qRgb(200, 100, 50));  // bottom-right
    dib = dibFromRgba(test::rgbaOf(rgb).view(), false);
    ASSERT_TRUE(dib);
    ASSERT_TRUE(readDib(*dib, d));
    EXPECT_EQ(d.bitCount, 24);
    EXPECT_EQ(pixelAt(d, 2, 0), 0xC86432u);
    EXPECT_EQ(pixelAt(d, 0, 1), 0x0A141Eu);
    EXPECT_FALSE(dibFromRgba(RgbaView{}, true));
}

TEST(BitmapFileFromDib, OffsetPointsAtTheRows)
{
    Bmp bmp = plainBmp(2, 2, 4, [](int, int) { return 1u; });
    const Bytes file = bitmapFileFromDib(dibBytes(bmp));
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(getU32(file.data() + 2), uint32_t(file.size()));
    EXPECT_EQ(getU32(file.data() + 10), 14u + 40u + 64u);
    bmp.header.compression = 3;  // masks count as well
    bmp.header.bitCount = 16;
    EXPECT_EQ(getU32(bitmapFileFromDib(dibBytes(bmp)).data() + 10), 14u + 40u + 12u);
}

}  // namespace
