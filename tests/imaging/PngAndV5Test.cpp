// PNG pictures and V4/V5 bitmaps against pixels decoded by Pillow when the
// tests were written; the inputs are kept as literal bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "formats/LoadJob.h"
#include "imaging/BitmapImport.h"
#include "imaging/PictureImport.h"
#include "support/BmpBytes.h"
#include "support/PictureBytes.h"
#include "support/TempDir.h"

using namespace sigil;
using namespace sigil::test;

namespace {

struct DecodedCase {
    const char* name;
    Bytes file;
    std::vector<uint32_t> argb;  // top row first, 0xAARRGGBB
};

// The device's pixel as 0xAARRGGBB, `y` counted from the top.
uint32_t argbAt(const IconDevice& d, int x, int y)
{
    const uint32_t p = pixelAt(d, x, d.height - 1 - y);
    if (d.bitCount <= 8)  // an index into the table after the header
        return 0xFF000000u | (getU32(d.blockData() + kHeaderBytes + 4 * p) & 0xFFFFFFu);
    return d.bitCount == 32 ? p : (0xFF000000u | p);
}

// Alpha 0 is transparent through the AND mask; its colour is not compared.
void expectPixels(const IconDevice& d, const std::vector<uint32_t>& argb)
{
    for (int y = 0; y < d.height; ++y)
        for (int x = 0; x < d.width; ++x) {
            const uint32_t want = argb[size_t(y * d.width + x)];
            EXPECT_EQ(maskedAt(d, x, d.height - 1 - y), (want >> 24) == 0) << x << "," << y;
            if ((want >> 24) != 0) {
                EXPECT_EQ(argbAt(d, x, y), want) << x << "," << y;
            }
        }
}

const Bytes kV5Alpha32TopDown =
    Bytes{0x42, 0x4D, 0x9A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x8A, 0x00, 0x00, 0x00, 0x7C, 0x00, 0x00, 0x00,
          0x02, 0x00, 0x00, 0x00, 0xFE, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x20, 0x00, 0x03, 0x00, 0x00, 0x00, 0x10, 0x00,
          0x00, 0x00, 0x13, 0x0B, 0x00, 0x00, 0x13, 0x0B, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
          0x00, 0x00, 0xFF, 0x00, 0x00, 0xFF, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x42, 0x47,
          0x52, 0x73, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
          0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
          0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
          0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x80, 0x56, 0x34,
          0x12, 0x00, 0xFF, 0xFF, 0xFF, 0x40, 0x0C, 0x0B, 0x0A, 0xFF};

const Bytes kV4Rgb565 = Bytes{
    0x42, 0x4D, 0x82, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7A, 0x00, 0x00, 0x00, 0x6C, 0x00, 0x00, 0x00, 0x02,
    0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x10, 0x00, 0x03, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00,
    0x13, 0x0B, 0x00, 0x00, 0x13, 0x0B, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x00,
    0x00, 0xE0, 0x07, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x42, 0x47, 0x52, 0x73, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0x10, 0x84};

class PngPixelTest : public testing::TestWithParam<DecodedCase> {};

TEST_P(PngPixelTest, MatchesPillow)
{
    const DecodedCase& c = GetParam();
    IconDevice d;
    ASSERT_TRUE(loadPngPictureBytes(d, c.file, kPictureMaxSide, kPictureMaxSide));
    EXPECT_EQ(d.bitCount, 32);
    ASSERT_EQ(size_t(d.width) * size_t(d.height), c.argb.size());
    expectPixels(d, c.argb);
}

// 1-bit grey, palette with a transparent entry, 16-bit grey, and an
// interlaced 8-bit grey-and-alpha picture.
INSTANTIATE_TEST_SUITE_P(
    Kinds, PngPixelTest,
    testing::Values(
        DecodedCase{
            "OneBit", Bytes{0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48,
                            0x44, 0x52, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x02, 0x01, 0x00, 0x00, 0x00,
                            0x00, 0xB5, 0x0F, 0x5B, 0xB7, 0x00, 0x00, 0x00, 0x0C, 0x49, 0x44, 0x41, 0x54, 0x78,
                            0x9C, 0x63, 0x70, 0x60, 0x38, 0x00, 0x00, 0x01, 0x84, 0x01, 0x01, 0x0A, 0x7F, 0x90,
                            0x50, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82},
            std::vector<uint32_t>{0xFF000000u, 0xFFFFFFFFu, 0xFF000000u, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFF000000u}},
        DecodedCase{
            "PaletteWithTrns",
            Bytes{0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44,
                  0x52, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x02, 0x02, 0x03, 0x00, 0x00, 0x00, 0xE0,
                  0x1A, 0x8E, 0x89, 0x00, 0x00, 0x00, 0x09, 0x50, 0x4C, 0x54, 0x45, 0xFF, 0x00, 0x00, 0x00,
                  0xFF, 0x00, 0x00, 0x00, 0xFF, 0x2D, 0x4A, 0xCD, 0x8A, 0x00, 0x00, 0x00, 0x02, 0x74, 0x52,
                  0x4E, 0x53, 0xFF, 0x00, 0xE5, 0xB7, 0x30, 0x4A, 0x00, 0x00, 0x00, 0x0C, 0x49, 0x44, 0x41,
                  0x54, 0x78, 0x9C, 0x63, 0x90, 0x60, 0x98, 0x00, 0x00, 0x00, 0xDC, 0x00, 0xA9, 0x6C, 0xE7,
                  0xC0, 0x23, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82},
            std::vector<uint32_t>{0xFFFF0000u, 0x0000FF00u, 0xFF0000FFu, 0xFF0000FFu, 0x0000FF00u, 0xFFFF0000u}},
        DecodedCase{
            "Grey16",
            Bytes{0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52,
                  0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x02, 0x10, 0x00, 0x00, 0x00, 0x00, 0xE8, 0x8F, 0xE5,
                  0x85, 0x00, 0x00, 0x00, 0x16, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0x60, 0x60, 0x68, 0x68,
                  0xF8, 0xFF, 0x9F, 0x41, 0xC8, 0xC4, 0x59, 0x71, 0xF5, 0x59, 0x00, 0x20, 0x7F, 0x05, 0x21, 0xD2,
                  0x89, 0x16, 0x03, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82},
            std::vector<uint32_t>{0xFF000000u, 0xFF808080u, 0xFFFFFFFFu, 0xFF121212u, 0xFF434343u, 0xFFABABABu}},
        DecodedCase{
            "InterlacedGreyAlpha",
            Bytes{0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52,
                  0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x03, 0x08, 0x04, 0x00, 0x00, 0x01, 0x69, 0xFA, 0x56,
                  0xDB, 0x00, 0x00, 0x00, 0x27, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0xE0, 0x62, 0x60, 0x90,
                  0x6B, 0x60, 0x88, 0xFA, 0x9F, 0xF7, 0x9F, 0x41, 0xE4, 0xBF, 0xC6, 0x7F, 0x86, 0x94, 0xFF, 0x15,
                  0x27, 0x18, 0x8C, 0x18, 0x6C, 0xFE, 0xBB, 0xFD, 0x0F, 0x60, 0x04, 0x00, 0x9A, 0x2F, 0x0B, 0x4F,
                  0x4F, 0xAD, 0x78, 0x09, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82},
            std::vector<uint32_t>{0x000A0A0Au, 0xFF141414u, 0x801E1E1Eu, 0xFF282828u, 0x00323232u, 0xFF3C3C3Cu,
                                  0xFF464646u, 0x01505050u, 0xFF5A5A5Au, 0xFF646464u, 0xFF6E6E6Eu, 0xC8787878u}}),
    [](const auto& info) { return std::string(info.param.name); });

class BitmapV5PixelTest : public testing::TestWithParam<DecodedCase> {};

TEST_P(BitmapV5PixelTest, MatchesPillow)
{
    const DecodedCase& c = GetParam();
    IconDevice d;
    ASSERT_TRUE(loadBitmapBytes(d, c.file, false, DisplaySettings{}));
    ASSERT_EQ(size_t(d.width) * size_t(d.height), c.argb.size());
    expectPixels(d, c.argb);
}

// A top-down V5 bitmap with an alpha mask, and a V4 5-6-5 one.
INSTANTIATE_TEST_SUITE_P(
    Headers, BitmapV5PixelTest,
    testing::Values(DecodedCase{"V5Alpha32TopDown", kV5Alpha32TopDown,
                                std::vector<uint32_t>{0x80FF0000u, 0x00123456u, 0x40FFFFFFu, 0xFF0A0B0Cu}},
                    DecodedCase{"V4Rgb565", kV4Rgb565,
                                std::vector<uint32_t>{0xFF0000FFu, 0xFF838183u, 0xFFFF0000u, 0xFF00FF00u}}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadHeader {
    const char* name;
    Bytes file;
};

// File offsets in the literal bitmaps: 14-byte file header, then the info
// header; V4/V5 masks follow its first 40 bytes.
constexpr size_t kCompression = 14 + 16, kRedMask = 14 + 40, kGreenMask = 14 + 44, kBlueMask = 14 + 48,
                 kAlphaMask = 14 + 52;

Bytes with(Bytes file, size_t at, uint32_t value)
{
    putU32(file.data() + at, value);
    return file;
}

class BitmapV5RefusalTest : public testing::TestWithParam<BadHeader> {};

TEST_P(BitmapV5RefusalTest, RefusedCleanly)
{
    IconDevice d;
    EXPECT_FALSE(loadBitmapBytes(d, GetParam().file, false, DisplaySettings{}));
    EXPECT_FALSE(d.hasBlock());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BitmapV5RefusalTest,
    testing::Values(
        BadHeader{"ColourMasksAllZero", with(with(with(kV5Alpha32TopDown, kRedMask, 0), kGreenMask, 0), kBlueMask, 0)},
        BadHeader{"MasksOverlap", with(kV5Alpha32TopDown, kGreenMask, 0x00FFFF00)},
        BadHeader{"AlphaOverlapsRed", with(kV5Alpha32TopDown, kAlphaMask, 0xFFFF0000)},
        BadHeader{"MaskNotOneRun", with(kV4Rgb565, kGreenMask, 0x0540)},
        BadHeader{"MaskBeyondTheDepth", with(kV4Rgb565, kRedMask, 0x1F0000)},
        BadHeader{"HeaderShorterThanItsSize", Bytes(kV5Alpha32TopDown.begin(), kV5Alpha32TopDown.begin() + 14 + 100)},
        BadHeader{"JpegInside", with(kV5Alpha32TopDown, kCompression, 4)},
        BadHeader{"PngInside", with(kV5Alpha32TopDown, kCompression, 5)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BitmapV5, NoAlphaMaskGivesOpaque24Bits)
{
    IconDevice d;
    ASSERT_TRUE(loadBitmapBytes(d, with(kV5Alpha32TopDown, kAlphaMask, 0), false, DisplaySettings{}));
    EXPECT_EQ(d.bitCount, 24);
    EXPECT_EQ(maskedCount(d), 0);
    EXPECT_EQ(argbAt(d, 1, 0), 0xFF123456u);  // the top row stays on top
}

// The same bitmap with its info header cut or padded to `bytes`.
Bytes withHeaderSize(const Bytes& file, uint32_t bytes)
{
    const uint32_t old = getU32(file.data() + 14);
    Bytes out(file.begin(), file.begin() + 14 + std::min(old, bytes));
    out.resize(14 + bytes, 0);
    out.insert(out.end(), file.begin() + 14 + old, file.end());
    putU32(out.data() + 2, uint32_t(out.size()));
    putU32(out.data() + 10, getU32(file.data() + 10) - old + bytes);
    putU32(out.data() + 14, bytes);
    return out;
}

TEST(BitmapHeaders, MasksOfTheShorterHeadersAndTheOs2Header)
{
    struct Case {
        const char* name;
        Bytes file;
        std::vector<uint32_t> argb;
    };
    const Case cases[] = {
        {"V2 (three masks)", withHeaderSize(kV4Rgb565, 52), {0xFF0000FFu, 0xFF838183u, 0xFFFF0000u, 0xFF00FF00u}},
        {"V3 (alpha mask)",
         withHeaderSize(kV5Alpha32TopDown, 56),
         {0x80FF0000u, 0x00123456u, 0x40FFFFFFu, 0xFF0A0B0Cu}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IconDevice d;
        ASSERT_TRUE(loadBitmapBytes(d, c.file, false, DisplaySettings{}));
        expectPixels(d, c.argb);
    }
    // The OS/2 2.x header reads as the plain one; its compression 3 is not bit fields.
    const Bytes plain = with(withHeaderSize(kV5Alpha32TopDown, 40), kCompression, 0);
    IconDevice fromPlain, fromOs2;
    ASSERT_TRUE(loadBitmapBytes(fromPlain, plain, false, DisplaySettings{}));
    ASSERT_TRUE(loadBitmapBytes(fromOs2, withHeaderSize(plain, 64), false, DisplaySettings{}));
    EXPECT_TRUE(std::ranges::equal(fromOs2.blockView(), fromPlain.blockView()));
    IconDevice refused;
    EXPECT_FALSE(loadBitmapBytes(refused, withHeaderSize(kV5Alpha32TopDown, 64), false, DisplaySettings{}));
}

TEST(BitmapHeaders, AllZeroAlphaIsOpaqueBeyondThePlainHeader)
{
    // The same 2 x 2 pixels with every alpha byte 0 (the last 16 bytes are
    // the pixels, alpha the fourth of each).
    Bytes noAlpha = kV5Alpha32TopDown;
    for (size_t i = noAlpha.size() - 13; i < noAlpha.size(); i += 4)
        noAlpha[i] = 0;
    const std::vector<uint32_t> opaque = {0xFFFF0000u, 0xFF123456u, 0xFFFFFFFFu, 0xFF0A0B0Cu};
    const Bytes plainRgb = with(noAlpha, kCompression, 0);
    struct Case {
        const char* name;
        Bytes file;
        bool transparent;
    };
    const Case cases[] = {
        {"V5 fields", noAlpha, false},
        {"V4 fields", withHeaderSize(noAlpha, 108), false},
        {"V3 fields", withHeaderSize(noAlpha, 56), false},
        {"V5 plain", plainRgb, false},
        {"V2 plain", withHeaderSize(plainRgb, 52), false},
        {"plain header", withHeaderSize(plainRgb, 40), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IconDevice d;
        ASSERT_TRUE(loadBitmapBytes(d, c.file, false, DisplaySettings{}));
        EXPECT_EQ(d.bitCount, 32);
        if (c.transparent)
            EXPECT_EQ(maskedCount(d), 4);
        else
            expectPixels(d, opaque);
    }
}

TEST(PngPicture, LargeOnesAreFittedAndOthersRefused)
{
    const Bytes wide = encodedPicture(
        512, 128, [](int x, int) { return x < 256 ? 0x80FF0000u : 0x00000000u; }, "PNG");
    IconDevice d;
    ASSERT_TRUE(loadPngPictureBytes(d, wide, kPictureMaxSide, kPictureMaxSide));
    EXPECT_EQ(d.width, 256);
    EXPECT_EQ(d.height, 64);
    EXPECT_EQ(argbAt(d, 10, 10), 0x80FF0000u);  // straight alpha, not premultiplied
    EXPECT_TRUE(maskedAt(d, 250, 10));
    EXPECT_FALSE(loadPngPictureBytes(d, jpegPicture(8, 8), 0, 0));
    Bytes cut = wide;
    cut.resize(40);
    EXPECT_FALSE(loadPngPictureBytes(d, cut, 0, 0));
    EXPECT_FALSE(d.hasBlock());
}

TEST(PngPicture, LoadJobOpensPngByContentWhateverTheCase)
{
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("a.PNG"), encodedPicture(
                                                 4, 4, [](int, int) { return 0xFF00FF00u; }, "PNG")));
    ASSERT_TRUE(writeFile(dir.file("fake.png"), jpegPicture(4, 4)));
    IconLibrary library;
    EXPECT_TRUE(openFile(library, dir.file("a.PNG")));
    EXPECT_FALSE(openFile(library, dir.file("fake.png")));
    ASSERT_EQ(library.size(), 1);
    EXPECT_EQ(library.at(0).devices.at(0).bitCount, 32);
    EXPECT_EQ(library.at(0).name, "a");
}

struct CorpusBitmap {
    const char* file;
    uint64_t pixelHash;  // 0: refused
};

// FNV-1a over the top-down 0xAARRGGBB pixels (transparent ones as 0),
// little-endian, as computed from Pillow's decoding of the same files.
uint64_t pixelHash(const IconDevice& d)
{
    uint64_t h = 0xcbf29ce484222325u;
    for (int y = 0; y < d.height; ++y)
        for (int x = 0; x < d.width; ++x) {
            const uint32_t v = maskedAt(d, x, d.height - 1 - y) ? 0 : argbAt(d, x, y);
            for (int k = 0; k < 4; ++k) {
                h ^= (v >> (8 * k)) & 0xFF;
                h *= 0x100000001b3u;
            }
        }
    return h;
}

class BmpSuiteV5Test : public testing::TestWithParam<CorpusBitmap> {};

TEST_P(BmpSuiteV5Test, MatchesPillowOrIsRefused)
{
    const std::string path = corpusFile(std::string("bmpsuite/") + GetParam().file);
    if (path.empty())
        GTEST_SKIP() << "corpus not present";
    IconDevice d;
    const bool read = loadBitmapFile(d, path, false, DisplaySettings{});
    ASSERT_EQ(read, GetParam().pixelHash != 0);
    if (read) {
        EXPECT_EQ(pixelHash(d), GetParam().pixelHash);
    }
}

// V4 and V5 headers: palettes, colour profiles (ignored), an x-b-g-r bit-field
// layout, and JPEG and PNG data in place of the rows.
INSTANTIATE_TEST_SUITE_P(Files, BmpSuiteV5Test,
                         testing::Values(CorpusBitmap{"g/pal8v4.bmp", 0x6D129AAF9A912D10u},
                                         CorpusBitmap{"g/pal8v5.bmp", 0x6D129AAF9A912D10u},
                                         CorpusBitmap{"q/rgb24prof.bmp", 0x0522323945161FD3u},
                                         CorpusBitmap{"q/rgb24lprof.bmp", 0x0522323945161FD3u},
                                         CorpusBitmap{"q/rgb32bf-xbgr.bmp", 0x0522323945161FD3u},
                                         CorpusBitmap{"q/rgb24jpeg.bmp", 0}, CorpusBitmap{"q/rgb24png.bmp", 0}));

}  // namespace
