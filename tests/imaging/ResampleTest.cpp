#include <gtest/gtest.h>

#include <QImage>

#include "support/QtPixels.h"
#include <atomic>
#include <cmath>
#include <cstdlib>

#include "imaging/PictureImport.h"
#include "imaging/Resample.h"
#include "support/DeviceMaker.h"
#include "support/PictureBytes.h"

using namespace sigil;
using namespace sigil::test;

namespace {

constexpr int kDiskSide = 512;

// A disk of `inside` (0xAARRGGBB) on fully transparent pixels whose hidden
// colour is `hidden`.
uint32_t disk(int x, int y, uint32_t inside, uint32_t hidden)
{
    const double dx = x + 0.5 - kDiskSide / 2.0, dy = y + 0.5 - kDiskSide / 2.0;
    return dx * dx + dy * dy < 200.0 * 200.0 ? inside : hidden;
}

RgbaImage rgbaOf(int w, int h, const std::function<uint32_t(int x, int y)>& argb)
{
    RgbaImage image{w, h, int64_t(w) * 4, std::vector<uint8_t>(size_t(w) * size_t(h) * 4)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t c = argb(x, y);
            uint8_t* p = &image.bytes[size_t(y * w + x) * 4];
            p[0] = uint8_t(c >> 16), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c), p[3] = uint8_t(c >> 24);
        }
    return image;
}

bool near(int got, int want, int tolerance = 1)
{
    return std::abs(got - want) <= tolerance;
}

struct FringeCase {
    const char* what;
    uint32_t inside, hidden;
};

class FringeTest : public testing::TestWithParam<FringeCase> {};

// Edge pixels are the disk's colour at partial alpha: the colour hidden under
// the transparent pixels never shows, whichever way the picture is shrunk.
TEST_P(FringeTest, ShrunkDiskKeepsItsColourUpToTheEdge)
{
    const FringeCase& c = GetParam();
    const auto picture = [&c](int x, int y) { return disk(x, y, c.inside, c.hidden); };
    const RgbaImage source = rgbaOf(kDiskSide, kDiskSide, picture);
    const Bytes png = encodedPicture(kDiskSide, kDiskSide, picture, "PNG");
    const int r = int(c.inside >> 16 & 0xFF), g = int(c.inside >> 8 & 0xFF), b = int(c.inside & 0xFF);
    for (int side : {256, 48, 32, 16}) {
        SCOPED_TRACE(testing::Message() << c.what << " at " << side);
        const RgbaImage out = resampled(source.view(), side, side);
        ASSERT_EQ(out.width, side);
        int edge = 0;
        for (size_t i = 0; i < out.bytes.size(); i += 4) {
            const uint8_t* p = &out.bytes[i];
            edge += p[3] > 0 && p[3] < 255;
            if (p[3] > 0) {
                ASSERT_TRUE(near(p[0], r) && near(p[1], g) && near(p[2], b))
                    << int(p[0]) << "," << int(p[1]) << "," << int(p[2]) << "," << int(p[3]) << " at " << i / 4;
            }
        }
        EXPECT_GT(edge, 0);

        // Opened as a PNG icon: a 32-bit device with the same colours.
        IconDevice d;
        ASSERT_TRUE(loadPngPictureBytes(d, png, side, side));
        ASSERT_EQ(d.width, side);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const uint32_t p = pixelAt(d, x, y);
                if (p >> 24) {
                    ASSERT_TRUE(near(int(p >> 16 & 0xFF), r) && near(int(p >> 8 & 0xFF), g) && near(int(p & 0xFF), b))
                        << std::hex << p << " at " << std::dec << x << "," << y;
                }
            }

        // Opened as a picture drawn on white: edges blend only with white,
        // so green and blue stay equal.
        std::atomic<bool> gif{false};
        ASSERT_TRUE(loadPictureBytes(d, png, side, side, gif));
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const uint32_t p = pixelAt(d, x, y);
                ASSERT_TRUE(near(int(p >> 16 & 0xFF), 255) && near(int(p >> 8 & 0xFF), int(p & 0xFF)))
                    << std::hex << p << " at " << std::dec << x << "," << y;
            }
    }
}

INSTANTIATE_TEST_SUITE_P(Disks, FringeTest,
                         testing::Values(FringeCase{"white disk on transparent black", 0xFFFFFFFF, 0x00000000},
                                         FringeCase{"red disk on hidden green", 0xFFFF0000, 0x0000FF00}),
                         [](const auto& info) { return std::to_string(info.index); });

uint32_t pattern(int x, int y)
{
    return 0xFF000000u | uint32_t((x * 37 + y * 11) % 256) << 16 | uint32_t((x * x * 5 + y * 29) % 256) << 8 |
           uint32_t(((x ^ y) * 31) % 256);
}

// Values from Pillow 9.4, Image.resize(..., Image.LANCZOS), on the same
// opaque pattern; Pillow rounds between its two passes, hence ±1.
TEST(Resample, MatchesLanczosValuesShrinkingAndEnlarging)
{
    struct Case {
        int w, h, outW, outH;
        std::vector<uint32_t> rgb;
    };
    const Case cases[] = {
        {8, 8, 3, 3, {0x241814, 0x985F6C, 0xA0A2C5, 0x41686C, 0xB6A96C, 0x866B6C, 0x65C6C5, 0xBDAA6C, 0x4C6614}},
        {3, 3, 5, 5, {0x000000, 0x070009, 0x240325, 0x410E36, 0x4C1338, 0x02070A, 0x0A0701, 0x270C0B, 0x44173B,
                      0x4F1C58, 0x081D25, 0x131D0B, 0x302200, 0x4D2D3B, 0x583268, 0x103336, 0x1C333B, 0x39383B,
                      0x56432B, 0x614826, 0x143C39, 0x1F3C5A, 0x3C4168, 0x594C1F, 0x645100}},
    };
    for (const Case& c : cases) {
        const RgbaImage out = resampled(rgbaOf(c.w, c.h, pattern).view(), c.outW, c.outH);
        ASSERT_EQ(out.bytes.size(), c.rgb.size() * 4);
        for (size_t i = 0; i < c.rgb.size(); ++i) {
            const uint8_t* p = &out.bytes[i * 4];
            EXPECT_TRUE(near(p[0], int(c.rgb[i] >> 16)) && near(p[1], int(c.rgb[i] >> 8 & 0xFF)) &&
                        near(p[2], int(c.rgb[i] & 0xFF)) && p[3] == 255)
                << c.w << "->" << c.outW << " pixel " << i << ": " << int(p[0]) << "," << int(p[1]) << "," << int(p[2])
                << "," << int(p[3]);
        }
    }
    // The same size is an exact copy, partial alpha included.
    const RgbaImage same = rgbaOf(5, 3, [](int x, int y) { return uint32_t(x * 40 + y) << 24 | 0x123456u; });
    EXPECT_EQ(resampled(same.view(), 5, 3).bytes, same.bytes);
    EXPECT_TRUE(resampled(same.view(), 0, 3).empty());
}

// A picture that changes only across (or only down) comes out the same in
// every row (or column): whatever thread made a row, wherever a band of rows
// starts, whichever pass runs first, and however many samples the vector
// loops leave to the plain ones.
TEST(Resample, EveryRowAndColumnAlikeAcrossThreadsAndOrders)
{
    struct Case {
        int w, h, outW, outH;
    };
    const Case cases[] = {
        {1024, 1024, 256, 256},  // vertical pass first, on two threads where there are two cores
        {1021, 1023, 255, 97},   // sides that fill no vector loop
        {1600, 2400, 16, 24},    // rows narrowed first: whole input rows would take too much memory
        {40, 30, 1000, 1200},    // enlarged, on threads
    };
    const auto along = [](int v) { return uint32_t(40 + v % 200) << 24 | uint32_t(v * 7 % 256) << 16 | 0x3080u; };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " -> " << c.outW << "x" << c.outH);
        const RgbaImage across =
            resampled(rgbaOf(c.w, c.h, [&](int x, int) { return along(x); }).view(), c.outW, c.outH);
        const RgbaImage down = resampled(rgbaOf(c.w, c.h, [&](int, int y) { return along(y); }).view(), c.outW, c.outH);
        ASSERT_EQ(across.height, c.outH);
        ASSERT_EQ(down.height, c.outH);
        const size_t row = size_t(c.outW) * 4;
        for (int y = 1; y < c.outH; ++y)
            ASSERT_TRUE(std::equal(across.row(y), across.row(y) + row, across.row(0))) << "row " << y;
        for (int y = 0; y < c.outH; ++y)
            for (int x = 1; x < c.outW; ++x)
                ASSERT_TRUE(std::equal(down.row(y) + x * 4, down.row(y) + x * 4 + 4, down.row(y))) << x << "," << y;
    }
}

// Shrinking an opaque picture with smooth content gives what Qt's smooth
// scaling gave before, within a few levels.
TEST(Resample, OpaquePictureShrinksAsBefore)
{
    QImage picture(640, 480, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y,
                             qRgb(int(127.5 + 127 * std::sin(x / 80.0)), int(127.5 + 127 * std::cos(y / 60.0)),
                                  (x + y) * 255 / 1118));
    for (const QSize size : {QSize(256, 192), QSize(48, 36), QSize(16, 12)}) {
        const QImage ours = test::qimageOf(resampled(test::rgbaOf(picture).view(), size.width(), size.height()));
        const QImage before = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        ASSERT_EQ(ours.size(), size);
        int worst = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const QRgb a = ours.pixel(x, y), b = before.pixel(x, y);
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                  std::abs(qBlue(a) - qBlue(b)), 255 - qAlpha(a)});
            }
        EXPECT_LE(worst, 4) << size.width();
    }
}

}  // namespace
