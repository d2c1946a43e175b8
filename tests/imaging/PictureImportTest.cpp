#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>

#include "formats/LoadJob.h"
#include "imaging/PictureImport.h"
#include "support/BmpBytes.h"
#include "support/DeviceMaker.h"
#include "support/LoadRecorder.h"
#include "support/PictureBytes.h"
#include "support/TempDir.h"

using namespace sigil;
using namespace sigil::test;

namespace {

// Colour by picture coordinates (y = 0 is the top row), as 0xRRGGBB.
uint32_t pixel(const IconDevice& d, int x, int y)
{
    return pixelAt(d, x, d.height - 1 - y);
}

// JPEG is lossy: a colour counts when every channel is close.
bool near(uint32_t got, uint32_t want, int tolerance = 24)
{
    for (int shift : {0, 8, 16})
        if (std::abs(int((got >> shift) & 0xFF) - int((want >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

struct FitCase {
    int w, h;
    int fittedW, fittedH;  // 0: refused
};

class PictureFitTest : public testing::TestWithParam<FitCase> {};

TEST_P(PictureFitTest, ShrinksIntoTheLimitKeepingProportions)
{
    const FitCase& c = GetParam();
    IconDevice d;
    std::atomic<bool> gif{false};
    const bool loaded = loadPictureBytes(d, jpegPicture(c.w, c.h), kPictureMaxSide, kPictureMaxSide, gif);
    EXPECT_FALSE(gif.load());
    if (c.fittedW == 0) {
        EXPECT_FALSE(loaded);
        return;
    }
    ASSERT_TRUE(loaded);
    EXPECT_EQ(d.width, c.fittedW);
    EXPECT_EQ(d.height, c.fittedH);
    EXPECT_EQ(d.bitCount, 24);
    EXPECT_EQ(d.allocatedBytes(), d.blockBytes());
    EXPECT_EQ(maskedCount(d), 0);
    EXPECT_TRUE(near(pixel(d, 0, 0), 0x336699));
    EXPECT_TRUE(near(pixel(d, d.width - 1, d.height - 1), 0x336699));
}

INSTANTIATE_TEST_SUITE_P(Sizes, PictureFitTest,
                         testing::Values(FitCase{640, 480, 256, 192}, FitCase{480, 640, 192, 256},
                                         FitCase{100, 50, 100, 50}, FitCase{300, 300, 256, 256},
                                         FitCase{257, 256, 256, 255}, FitCase{256, 256, 256, 256},
                                         FitCase{1000, 2, 0, 0}, FitCase{2, 1000, 0, 0}));

TEST(PictureImport, NoLimitKeepsTheSizeAndOneLimitBindsAlone)
{
    const Bytes jpeg = jpegPicture(400, 100);
    std::atomic<bool> gif{false};
    IconDevice d;
    ASSERT_TRUE(loadPictureBytes(d, jpeg, 0, 0, gif));
    EXPECT_EQ(d.width, 400);
    ASSERT_TRUE(loadPictureBytes(d, jpeg, 200, 0, gif));
    EXPECT_EQ(d.width, 200);
    EXPECT_EQ(d.height, 50);
    ASSERT_TRUE(loadPictureBytes(d, jpeg, 0, 20, gif));
    EXPECT_EQ(d.width, 80);
    EXPECT_EQ(d.height, 20);
}

TEST(PictureImport, PictureStaysUprightWhenShrunk)
{
    // Red on top, blue below; green on the right of the red half.
    const Bytes jpeg = encodedPicture(
        640, 480, [](int x, int y) { return y < 240 ? (x < 320 ? 0xFFFF0000u : 0xFF00FF00u) : 0xFF0000FFu; });
    IconDevice d;
    std::atomic<bool> gif{false};
    ASSERT_TRUE(loadPictureBytes(d, jpeg, 256, 256, gif));
    EXPECT_TRUE(near(pixel(d, 10, 10), 0xFF0000)) << std::hex << pixel(d, 10, 10);
    EXPECT_TRUE(near(pixel(d, 240, 10), 0x00FF00)) << std::hex << pixel(d, 240, 10);
    EXPECT_TRUE(near(pixel(d, 10, 180), 0x0000FF)) << std::hex << pixel(d, 10, 180);
}

TEST(PictureImport, TransparentPartsAreDrawnOnWhite)
{
    const Bytes png = encodedPicture(
        8, 8, [](int x, int) { return x < 4 ? 0x00000000u : 0xFF000000u; }, "PNG");
    IconDevice d;
    std::atomic<bool> gif{false};
    ASSERT_TRUE(loadPictureBytes(d, png, 256, 256, gif));
    EXPECT_EQ(pixel(d, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(pixel(d, 7, 7), 0x000000u);
    EXPECT_EQ(maskedCount(d), 0);
}

struct GifCase {
    const char* what;
    Bytes data;
    bool gif;
    bool loaded;
};

class PictureContentTest : public testing::TestWithParam<GifCase> {};

TEST_P(PictureContentTest, GifIsRefusedByItsContent)
{
    const GifCase& c = GetParam();
    SCOPED_TRACE(c.what);
    IconDevice d;
    std::atomic<bool> gif{false};
    EXPECT_EQ(loadPictureBytes(d, c.data, 256, 256, gif), c.loaded);
    EXPECT_EQ(gif.load(), c.gif);
}

// A JPEG whose data end inside its headers (a few bytes kept), or inside
// its rows (the last quarter dropped).
Bytes jpegCut(size_t keep)
{
    Bytes b =
        encodedPicture(64, 64, [](int x, int y) { return 0xFF000000u | uint32_t(x * 4) << 16 | uint32_t(y * 4); });
    b.resize(keep ? keep : b.size() * 3 / 4);
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Contents, PictureContentTest,
    testing::Values(GifCase{"GIF", gifStart("GIF"), true, false}, GifCase{"gif", gifStart("gif"), true, false},
                    GifCase{"Gif is no GIF", gifStart("Gif"), false, false},
                    GifCase{"wrapped GIF", macBinaryWrapped(gifStart()), true, false},
                    GifCase{"wrapped JPEG", macBinaryWrapped(jpegPicture(20, 10)), false, true},
                    GifCase{"zero first byte, short", Bytes(100, 0), false, false}, GifCase{"empty", {}, false, false},
                    GifCase{"JPEG cut in its headers", jpegCut(20), false, false},
                    GifCase{"JPEG cut in its rows (what was read)", jpegCut(0), false, true},
                    GifCase{"bitmap under a picture's name",
                            bmpFile(plainBmp(8, 8, 24, [](int, int) { return 0x336699u; })), false, true},
                    GifCase{"text", {'h', 'e', 'l', 'l', 'o'}, false, false}));

TEST(PictureImport, LoadJobReadsPicturesAndRefusesGifsByContent)
{
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("photo.JPEG"), jpegPicture(640, 480, 0xFF000000)));
    ASSERT_TRUE(writeFile(dir.file("really.gif"), jpegPicture(30, 20)));
    ASSERT_TRUE(writeFile(dir.file("fake.jpg"), gifStart()));
    ASSERT_TRUE(writeFile(dir.file("broken.jpg"), Bytes{0xFF, 0xD8, 0xFF}));
    IconLibrary lib;
    LoadRecorder rec;
    lib.setLoadObserver(&rec);
    // Automatic transparency never applies to pictures, black or not.
    DisplaySettings settings;
    settings.transparency = 1;
    settings.transparencyType = 0;
    settings.transparencyColor = 0;
    lib.setDisplaySettings(&settings);

    LoadControl control;
    control.pendingPaths = {dir.file("photo.JPEG"), dir.file("broken.jpg"), dir.file("really.gif")};
    runLoadJob(lib, control);
    EXPECT_FALSE(control.gifRefused.load());
    ASSERT_EQ(lib.size(), 2);
    EXPECT_EQ(lib.at(0).name, "photo");
    EXPECT_EQ(lib.at(0).source, dir.file("photo.JPEG"));
    ASSERT_EQ(lib.at(0).deviceCount(), 1);
    EXPECT_EQ(lib.at(0).devices[0].width, 256);
    EXPECT_EQ(maskedCount(lib.at(0).devices[0]), 0);
    EXPECT_TRUE(test::drawable(lib.at(0)));
    EXPECT_EQ(lib.at(1).name, "really");
    EXPECT_EQ(rec.added, (std::vector<int>{0, 1}));

    LoadControl second;
    second.pendingPaths = {dir.file("fake.jpg")};
    runLoadJob(lib, second);
    EXPECT_TRUE(second.gifRefused.load());
    EXPECT_EQ(lib.size(), 2);
}

}  // namespace
