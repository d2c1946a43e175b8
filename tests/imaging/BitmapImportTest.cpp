#include <gtest/gtest.h>

#include "support/DeviceMaker.h"

#include "formats/LoadJob.h"
#include "imaging/BitmapImport.h"
#include "support/BmpBytes.h"
#include "support/TempDir.h"

using namespace sigil;
using namespace sigil::test;

namespace {

const DisplaySettings kNoTransparency = [] {
    DisplaySettings s;
    s.transparency = 0;
    return s;
}();

DisplaySettings cornerTransparency(int type)
{
    DisplaySettings s;
    s.transparency = 1;
    s.transparencyType = type;
    return s;
}

bool load(IconDevice& d, const Bmp& bmp, bool apply = false, const DisplaySettings& s = kNoTransparency)
{
    return loadBitmapBytes(d, bmpFile(bmp), apply, s);
}

TEST(BitmapImport, MonochromeKeepsTheFilesTwoColours)
{
    Bmp bmp = plainBmp(9, 3, 1, [](int x, int) { return uint32_t(x % 2); });
    bmp.palette = {0x3366CC, 0xFFCC00};
    IconDevice d;
    ASSERT_TRUE(load(d, bmp));
    EXPECT_EQ(d.bitCount, 1);
    EXPECT_EQ(getU32(d.blockData() + 40), 0x3366CCu);
    EXPECT_EQ(getU32(d.blockData() + 44), 0xFFCC00u);
    EXPECT_EQ(pixelAt(d, 3, 2), 1u);
    EXPECT_EQ(pixelAt(d, 4, 2), 0u);
}

TEST(BitmapImport, WhiteCornerWithPermateBecomesTransparent)
{
    // White border, grey inside, one near-white pixel.
    Bmp bmp = plainBmp(48, 48, 24, [](int x, int y) {
        if (x == 10 && y == 10)
            return 0xFEFEFEu;
        return (x == 0 || y == 0 || x == 47 || y == 47) ? 0xFFFFFFu : 0x808080u;
    });
    IconDevice d;
    ASSERT_TRUE(load(d, bmp, true, cornerTransparency(1)));
    EXPECT_EQ(d.width, 48);
    EXPECT_EQ(d.height, 48);
    EXPECT_EQ(d.bitCount, 24);
    EXPECT_EQ(maskedCount(d), 4 * 47);
    EXPECT_EQ(pixelAt(d, 0, 20), 0u);
    EXPECT_EQ(pixelAt(d, 10, 10), 0xFEFEFEu);
    EXPECT_FALSE(maskedAt(d, 10, 10));
    // The caller may ask for none.
    ASSERT_TRUE(load(d, bmp, false, cornerTransparency(1)));
    EXPECT_EQ(maskedCount(d), 0);
}

TEST(BitmapImport, Rle8BecomesPlainEightBit)
{
    Bmp bmp = plainBmp(5, 3, 8, [](int, int) { return 0u; });
    // Row 0: 5 x 9; row 1: literal 1 2 3 (padded), two of 4; then end of
    // bitmap, so row 2 stays 0.
    bmp.pixels = {5, 9, 0, 0, 0, 3, 1, 2, 3, 0, 2, 4, 0, 0, 0, 1};
    bmp.header.compression = 1;
    bmp.header.imageSize = uint32_t(bmp.pixels.size());
    IconDevice d;
    ASSERT_TRUE(load(d, bmp));
    EXPECT_EQ(d.compression, 0);
    EXPECT_EQ(d.allocatedBytes(), d.blockBytes());
    const uint32_t rows[3][5] = {{9, 9, 9, 9, 9}, {1, 2, 3, 4, 4}, {0, 0, 0, 0, 0}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(pixelAt(d, x, y), rows[y][x]) << x << "," << y;
    // A writer that left the size 0 means all codes to the end of the file.
    bmp.header.imageSize = 0;
    ASSERT_TRUE(load(d, bmp));
    EXPECT_EQ(pixelAt(d, 2, 1), 3u);
}

TEST(BitmapImport, SixteenBitWithFieldsWidensAndWithoutStays)
{
    const Bmp fields = fieldsBmp(2, 1, 16, {0xF800, 0x07E0, 0x001F}, [](int x, int) { return x ? 0x07E0u : 0xF800u; });
    IconDevice d;
    ASSERT_TRUE(load(d, fields));
    EXPECT_EQ(d.bitCount, 24);
    EXPECT_EQ(d.compression, 0);
    EXPECT_EQ(pixelAt(d, 0, 0) & 0xFF0000u, 0xF80000u);  // red
    EXPECT_EQ(pixelAt(d, 1, 0) & 0x00FF00u, 0x00F800u);  // green, lowest bit dropped

    ASSERT_TRUE(load(d, plainBmp(2, 1, 16, [](int, int) { return 0x7C00u; })));
    EXPECT_EQ(d.bitCount, 16);
    EXPECT_EQ(pixelAt(d, 1, 0), 0x7C00u);
}

TEST(BitmapImport, ThirtyTwoBitWithoutAlphaIsFullyTransparent)
{
    IconDevice d;
    ASSERT_TRUE(load(d, plainBmp(4, 4, 32, [](int, int) { return 0x00FF8040u; }), true, cornerTransparency(0)));
    EXPECT_EQ(maskedCount(d), 16);
    EXPECT_EQ(pixelAt(d, 2, 2), 0u);
}

TEST(BitmapImport, PixelOffsetAfterGapAndShortTable)
{
    Bmp bmp = plainBmp(4, 2, 4, [](int x, int) { return uint32_t(x); });
    bmp.palette = {0x112233, 0x445566};
    bmp.header.colorsUsed = 2;
    bmp.gap = 6;
    IconDevice d;
    ASSERT_TRUE(load(d, bmp));
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(pixelAt(d, x, 1), uint32_t(x));
    EXPECT_EQ(getU32(d.blockData() + 44), 0x445566u);
    EXPECT_EQ(getU32(d.blockData() + 48), 0u);  // missing entry: black

    // A pixel offset of 0 means the rows follow the table.
    bmp.gap = 0;
    bmp.pixelOffset = 0;
    ASSERT_TRUE(load(d, bmp));
    EXPECT_EQ(pixelAt(d, 3, 0), 3u);
}

TEST(BitmapImport, LargePictureIsOneDevice)
{
    IconDevice d;
    ASSERT_TRUE(load(d, plainBmp(300, 300, 8, [](int x, int y) { return uint32_t((x ^ y) & 0xFF); })));
    EXPECT_EQ(d.width, 300);
    EXPECT_EQ(d.height, 300);
    EXPECT_EQ(pixelAt(d, 299, 7), uint32_t((299 ^ 7) & 0xFF));
}

TEST(BitmapImport, FileHeaderProblemsAreRefused)
{
    const Bmp good = plainBmp(4, 4, 24, [](int, int) { return 0x123456u; });
    Bytes notBm = bmpFile(good);
    notBm[0] = 0xFF, notBm[1] = 0xD8;  // a JPEG called .bmp
    Bmp pastEnd = good;
    pastEnd.pixelOffset = 100000;
    Bmp lastByte = good;
    lastByte.pixelOffset = uint32_t(bmpFile(good).size());  // no room for rows
    const Bytes cases[] = {notBm, bmpFile(pastEnd), bmpFile(lastByte), Bytes{'B', 'M'}, Bytes{}};
    for (const Bytes& file : cases) {
        IconDevice d = makeDevice(2, 2, 8, [](int, int) { return 1u; });
        EXPECT_FALSE(loadBitmapBytes(d, file, true, kNoTransparency));
        EXPECT_FALSE(d.hasBlock());
    }
    // The file's size field is not needed and not trusted.
    Bmp wrongSize = good;
    wrongSize.fileSizeField = 7;
    IconDevice d;
    EXPECT_TRUE(load(d, wrongSize));
}

TEST(BitmapImport, FilesOnDiskAndThroughTheLoadJob)
{
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("Pic.BMP"), bmpFile(plainBmp(20, 10, 8, [](int x, int) { return uint32_t(x); }))));
    ASSERT_TRUE(writeFile(dir.file("fake.bmp"), Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

    IconEntry entry;
    ASSERT_TRUE(readBitmapIcon(entry, dir.file("Pic.BMP"), "Pic", kNoTransparency));
    ASSERT_EQ(entry.deviceCount(), 1);
    EXPECT_EQ(entry.name, "Pic");
    EXPECT_EQ(entry.source, dir.file("Pic.BMP"));
    EXPECT_FALSE(readBitmapIcon(entry, dir.file("fake.bmp"), "fake", kNoTransparency));
    EXPECT_EQ(entry.deviceCount(), 0);
    IconDevice d;
    EXPECT_FALSE(loadBitmapFile(d, dir.file("missing.bmp"), false, kNoTransparency));

    // The library's settings decide the transparency: palette entry 0 is
    // black, so with the default settings column 0 turns transparent.
    IconLibrary lib;
    EXPECT_TRUE(openFile(lib, dir.file("Pic.BMP")));
    EXPECT_FALSE(openFile(lib, dir.file("fake.bmp")));
    ASSERT_EQ(lib.size(), 1);
    EXPECT_EQ(lib.at(0).name, "Pic");
    EXPECT_EQ(lib.deviceTotal(), 1);
    EXPECT_TRUE(test::drawable(lib.at(0)));
    EXPECT_EQ(maskedCount(lib.at(0).devices[0]), 10);
}

}  // namespace
