#include <gtest/gtest.h>

#include <QPainter>

#include "model/IconDevice.h"
#include "support/DeviceMaker.h"
#include "ui/DisplayImages.h"

using namespace sigil;

namespace {

// A 2 x 1 32-bit device; pixel 0 and 1 as B, G, R, A; AND-mask bits.
IconDevice argbDevice(std::array<uint8_t, 4> p0, std::array<uint8_t, 4> p1, uint8_t maskBits)
{
    IconDevice d;
    EXPECT_TRUE(d.makeBlank(2, 1, 32));
    uint8_t* px = d.blockData() + 40;
    std::copy(p0.begin(), p0.end(), px);
    std::copy(p1.begin(), p1.end(), px + 4);
    px[8] = maskBits;
    return d;
}

DisplaySettings xp(bool on)
{
    DisplaySettings s;
    s.xpDisplay = on ? 1 : 0;
    return s;
}

TEST(MakeDisplayIcon, NormalWithXPDispBlendsOntoTheBackground)
{
    // Red at alpha 128 on white: red stays 255, green and blue become 127.
    const IconDevice d = argbDevice({0, 0, 255, 128}, {10, 20, 30, 0}, 0x40);
    const QImage img = makeDisplayIcon(d, DisplayMode::Normal, rgbColor(255, 255, 255), xp(true));
    ASSERT_EQ(img.size(), QSize(2, 1));
    EXPECT_EQ(img.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(img.pixel(0, 0), qRgba(255, 127, 127, 255));
    // Alpha 0 becomes black, and the AND mask decides what is drawn.
    EXPECT_EQ(qAlpha(img.pixel(1, 0)), 0);
}

TEST(MakeDisplayIcon, NormalWithoutXPDispUsesTheAlphaChannel)
{
    const IconDevice d = argbDevice({0, 0, 255, 255}, {0, 255, 0, 0}, 0x00);
    const QImage img = makeDisplayIcon(d, DisplayMode::Normal, 0, xp(false));
    EXPECT_EQ(img.pixel(0, 0), qRgba(255, 0, 0, 255));
    EXPECT_EQ(qAlpha(img.pixel(1, 0)), 0);  // alpha rules over the clear mask bit
}

TEST(MakeDisplayIcon, AllZeroAlphaTakesTransparencyFromTheMask)
{
    const IconDevice d = argbDevice({0, 0, 255, 0}, {0, 255, 0, 0}, 0x40);
    const QImage img = makeDisplayIcon(d, DisplayMode::Normal, 0, xp(false));
    EXPECT_EQ(img.pixel(0, 0), qRgba(255, 0, 0, 255));
    EXPECT_EQ(qAlpha(img.pixel(1, 0)), 0);
}

TEST(MakeRgbaImage, OwnAlphaRulesWhenThereIsAnyElseTheMask)
{
    struct Case {
        const char* name;
        IconDevice device;
        QRgb p0, p1;  // straight ARGB
    };
    IconDevice palette;
    ASSERT_TRUE(palette.makeBlank(2, 1, 4));  // black, wholly transparent
    palette.blockData()[40 + 64 + 4] = 0x80;  // pixel 1 opaque
    Case cases[] = {
        // Masked pixels of a faint alpha keep it, unpremultiplied.
        {"alpha", argbDevice({149, 149, 149, 12}, {1, 2, 3, 255}, 0xC0), qRgba(149, 149, 149, 12), qRgba(3, 2, 1, 255)},
        {"alpha 0 throughout", argbDevice({1, 2, 3, 0}, {4, 5, 6, 0}, 0x40), qRgba(3, 2, 1, 255), qRgba(6, 5, 4, 0)},
        {"palette", std::move(palette), qRgba(0, 0, 0, 0), qRgba(0, 0, 0, 255)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage img = toQImage(devicePixels(c.device));
        ASSERT_EQ(img.size(), QSize(2, 1));
        EXPECT_EQ(img.format(), QImage::Format_ARGB32);
        EXPECT_EQ(img.pixel(0, 0), c.p0);
        EXPECT_EQ(img.pixel(1, 0), c.p1);
    }
}

TEST(MakeRgbaImage, LargeDevicesArePixelForPixelUpToTheLargestBlock)
{
    // 2 M pixels, beyond what the display draws pixel for pixel: only the
    // pixel whose mask bit is clear is opaque.
    IconDevice large;
    ASSERT_TRUE(large.makeBlank(2048, 1024, 1));
    large.blockData()[large.blockBytes() - large.maskStride()] = 0xBF;  // top row, x = 1
    const QImage img = toQImage(devicePixels(large));
    ASSERT_EQ(img.size(), QSize(2048, 1024));
    EXPECT_EQ(qAlpha(img.pixel(1, 0)), 255);
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(img.pixel(2, 0)), 0);
    // 128 M pixels would take 512 MB: refused.
    IconDevice huge;
    ASSERT_TRUE(huge.makeBlank(16384, 8192, 1));
    EXPECT_TRUE(toQImage(devicePixels(huge)).isNull());
}

TEST(MakeDisplayIcon, ImageModeIsWhollyOpaque)
{
    const IconDevice d = argbDevice({0, 0, 255, 0}, {0, 255, 0, 10}, 0xC0);
    const QImage img = makeDisplayIcon(d, DisplayMode::Image, 0, xp(false));
    EXPECT_EQ(img.pixel(0, 0), qRgba(255, 0, 0, 255));
    EXPECT_EQ(img.pixel(1, 0), qRgba(0, 255, 0, 255));
}

TEST(MakeDisplayIcon, MaskModeShowsAlphaAsGrey)
{
    const IconDevice d = argbDevice({0, 0, 0, 255}, {0, 0, 0, 55}, 0x00);
    const QImage img = makeDisplayIcon(d, DisplayMode::Mask, 0, xp(false));
    EXPECT_EQ(img.pixel(0, 0), qRgba(0, 0, 0, 255));
    EXPECT_EQ(img.pixel(1, 0), qRgba(200, 200, 200, 255));
}

TEST(MakeDisplayIcon, MaskModeShowsTheAndMaskOfPaletteImages)
{
    IconDevice d;
    ASSERT_TRUE(d.makeBlank(8, 2, 4));
    uint8_t* mask = d.blockData() + 40 + 64 + d.colorBitsBytes();
    mask[0] = 0x0F;  // bottom row: right half transparent
    mask[4] = 0x00;  // top row: opaque
    const QImage img = makeDisplayIcon(d, DisplayMode::Mask, 0, xp(false));
    EXPECT_EQ(img.pixel(0, 1), qRgba(0, 0, 0, 255));
    EXPECT_EQ(img.pixel(7, 1), qRgba(255, 255, 255, 255));
    EXPECT_EQ(img.pixel(7, 0), qRgba(0, 0, 0, 255));
}

TEST(MakeDisplayIcon, PaletteImagesUseTheirColourTableAndBottomUpRows)
{
    IconDevice d;
    ASSERT_TRUE(d.makeBlank(2, 2, 4));
    uint8_t* px = d.blockData() + 40 + 64;
    px[0] = 0x23;                   // bottom row: entries 2 (FF6600) and 3 (FF0000)
    px[4] = 0x60;                   // top row: entries 6 (0000FF) and 0 (FFFFFF)
    std::fill(px + 8, px + 16, 0);  // opaque
    const QImage img = makeDisplayIcon(d, DisplayMode::Normal, 0, xp(false));
    EXPECT_EQ(img.pixel(0, 1), qRgba(0xFF, 0x66, 0x00, 255));
    EXPECT_EQ(img.pixel(1, 1), qRgba(0xFF, 0x00, 0x00, 255));
    EXPECT_EQ(img.pixel(0, 0), qRgba(0x00, 0x00, 0xFF, 255));
    EXPECT_EQ(img.pixel(1, 0), qRgba(0xFF, 0xFF, 0xFF, 255));
}

TEST(MakeDisplayIcon, EnlargementsStayCrisp)
{
    const IconDevice d = argbDevice({0, 0, 255, 255}, {255, 0, 0, 255}, 0);
    const QImage img = makeDisplayIcon(d, DisplayMode::Normal, 0, xp(false), 8, 4);
    ASSERT_EQ(img.size(), QSize(8, 4));
    EXPECT_EQ(img.pixel(3, 2), qRgba(255, 0, 0, 255));
    EXPECT_EQ(img.pixel(4, 2), qRgba(0, 0, 255, 255));
}

TEST(MakeDisplayIcon, HugeDeviceIsDrawnFromASampleOfItsPixels)
{
    // 9000 x 1000 is too large to draw whole: it is drawn from every third
    // pixel. Top half white, bottom half black, all opaque.
    IconDevice d;
    ASSERT_TRUE(d.makeBlank(9000, 1000, 1));
    const int64_t half = d.colorBitsBytes() / 2;
    uint8_t* bits = d.blockData() + 40 + 8;
    std::fill(bits + half, bits + 2 * half, 0xFF);  // rows run bottom-up
    std::fill(bits + 2 * half, bits + 2 * half + d.maskBytes(), 0x00);
    const QImage img = makeDisplayIcon(d, DisplayMode::Normal, 0, xp(false), 40, 8);
    ASSERT_EQ(img.size(), QSize(40, 8));
    EXPECT_EQ(img.pixel(20, 1), qRgba(255, 255, 255, 255));
    EXPECT_EQ(img.pixel(20, 6), qRgba(0, 0, 0, 255));
}

TEST(MakeDisplayIcon, EmptyDeviceGivesNoImage)
{
    IconDevice d;
    EXPECT_TRUE(makeDisplayIcon(d, DisplayMode::Normal, 0, xp(false)).isNull());
}

struct DisplaySizeCase {
    int w, h;
    int dw, dh;
};

class DisplaySize : public testing::TestWithParam<DisplaySizeCase> {};

TEST_P(DisplaySize, KeepsTheDevicesProportions)
{
    const auto c = GetParam();
    IconEntry e;
    e.devices.push_back(test::makeDevice(c.w, c.h, 4, [](int, int) { return 0u; }));
    DisplaySettings s;
    s.iconSize = 32;
    const DisplayIcons icons = makeDisplayIcons(e, s);
    EXPECT_EQ(icons.width, c.dw);
    EXPECT_EQ(icons.height, c.dh);
    ASSERT_FALSE(icons.isNull());
    EXPECT_EQ(icons.normal.size(), QSize(c.dw, c.dh));
    EXPECT_TRUE(icons.selected.isNull());  // only 32-bit devices get one
}

INSTANTIATE_TEST_SUITE_P(Shapes, DisplaySize,
                         testing::Values(DisplaySizeCase{48, 32, 32, 21}, DisplaySizeCase{16, 32, 16, 32},
                                         DisplaySizeCase{16, 16, 32, 32}));

TEST(MakeDisplayIcons, SelectedImageOnlyWithXPDispAnd32Bits)
{
    IconEntry e;
    e.devices.push_back(test::makeDevice(16, 16, 32, [](int, int) { return 0u; }));
    DisplaySettings s;
    s.xpDisplay = 1;
    EXPECT_FALSE(makeDisplayIcons(e, s).selected.isNull());
    s.xpDisplay = 0;
    EXPECT_TRUE(makeDisplayIcons(e, s).selected.isNull());
    EXPECT_FALSE(makeDisplayIcons(e, s).isNull());
}

TEST(DrawDisplayIcon, PaintsIntoTheComputedRectangle)
{
    IconEntry e;
    e.devices.push_back(test::makeDevice(48, 32, 24, [](int, int) { return 0u; }));
    // Make the colour white and opaque so it shows against a black target.
    IconDevice& d = e.devices[0];
    uint8_t* px = d.blockData() + 40;
    std::fill(px, px + d.colorBitsBytes(), 0xFF);
    std::fill(px + d.colorBitsBytes(), px + d.colorBitsBytes() + d.maskBytes(), 0x00);
    DisplaySettings s;
    s.iconSize = 32;
    QImage target(60, 60, QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::black);
    QPainter p(&target);
    const QRect r = drawDisplayIcon(p, makeDisplayIcons(e, s), 50, 50, 5, 5, false);
    p.end();
    EXPECT_EQ(r, QRect(5, 14, 50, 32));
    EXPECT_EQ(target.pixel(30, 30), qRgb(255, 255, 255));
    EXPECT_EQ(target.pixel(30, 12), qRgb(0, 0, 0));
    EXPECT_EQ(target.pixel(30, 47), qRgb(0, 0, 0));
}

TEST(DrawDisplayIcon, NothingWithoutADisplayImage)
{
    QImage target(10, 10, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&target);
    EXPECT_TRUE(drawDisplayIcon(p, DisplayIcons{}, 10, 10, 0, 0, false).isEmpty());
}

// At two device pixels to one, a cell of 32 shows the icon's 64 x 64 image
// pixel for pixel; an icon without one shows its 32 x 32 image enlarged.
TEST(DrawDisplayIcon, AtRatioTwoTheDeviceOfTheCellsPixelSizeIsDrawnPixelForPixel)
{
    const auto checker = [](int x, int row) { return ((x + 63 - row) & 1) ? 0xFFFFFFu : 0x000000u; };
    DisplaySettings s;
    s.iconSize = 32;
    s.xpDisplay = 0;
    for (const bool withLarge : {true, false}) {
        SCOPED_TRACE(withLarge);
        IconEntry e;
        e.devices.push_back(test::makeDevice(32, 32, 24, [](int, int) { return 0xFF0000u; }));
        if (withLarge)
            e.devices.push_back(test::makeDevice(64, 64, 24, checker));
        const DisplayIcons icons = makeDisplayIcons(e, s, 2.0);
        EXPECT_EQ(icons.width, 32);
        EXPECT_EQ(icons.normal.size(), withLarge ? QSize(64, 64) : QSize(32, 32));
        QImage target(64, 64, QImage::Format_RGB32);
        target.setDevicePixelRatio(2.0);
        target.fill(Qt::gray);
        QPainter p(&target);
        EXPECT_EQ(drawDisplayIcon(p, icons, 32, 32, 0, 0, false), QRect(0, 0, 32, 32));
        p.end();
        int wrong = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const QRgb want = withLarge ? (((x + y) & 1) ? qRgb(255, 255, 255) : qRgb(0, 0, 0)) : qRgb(255, 0, 0);
                wrong += target.pixel(x, y) != want;
            }
        EXPECT_EQ(wrong, 0);
    }
    // At ratio 1 the cell's own 32 x 32 image, as ever.
    IconEntry e;
    e.devices.push_back(test::makeDevice(32, 32, 24, [](int, int) { return 0xFF0000u; }));
    e.devices.push_back(test::makeDevice(64, 64, 24, checker));
    EXPECT_EQ(makeDisplayIcons(e, s, 1.0).normal.size(), QSize(32, 32));
}

}  // namespace
