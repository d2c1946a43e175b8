// PNG decoding of every colour type and depth, against pixels computed here
// from the samples written: through the picture importer and through an
// .ico that keeps the PNG undecoded. Files are written by a small encoder
// below, so each case is a line of the table.
#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "formats/IconFile.h"
#include "imaging/PictureImport.h"
#include "imaging/PngCodec.h"
#include "support/DeviceMaker.h"
#include "support/IconBytes.h"

using namespace sigil;
using namespace sigil::test;

namespace {

struct PngKind {
    uint8_t colorType;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
    uint8_t depth;
    bool key;  // a tRNS chunk: the colour key, or palette alpha
    bool interlaced;
};

int channels(uint8_t colorType)
{
    return colorType == 2 ? 3 : colorType == 4 ? 2 : colorType == 6 ? 4 : 1;
}

constexpr int kW = 13;
constexpr int kH = 9;
// Palette entries, no more than the depth can index, and how many of them
// have an alpha (the rest are opaque).
uint32_t paletteSize(const PngKind& k)
{
    return std::min(12u, 1u << k.depth);
}
uint32_t paletteAlphas(const PngKind& k)
{
    return paletteSize(k) / 2 + 1;
}

// The raw sample of channel `c` at (x, y). Pixel (0, 0) is the colour key;
// (1, 0) differs from it only in the low byte of its first 16-bit sample.
uint32_t sample(const PngKind& k, int x, int y, int c)
{
    const uint32_t max = (1u << k.depth) - 1;
    if (k.colorType == 3)
        return uint32_t(x * 5 + y * 3) % paletteSize(k);
    if (y == 0 && x < 2)
        return ((k.depth == 16 ? 0x2B7Cu : 0x5Au) * uint32_t(c + 1) ^ (x == 1 && c == 0 ? 1u : 0u)) & max;
    return (uint32_t(x) * 40503u + uint32_t(y) * 2654435u + uint32_t(c) * 97u) % (max + 1);
}

uint32_t paletteRgb(uint32_t i)
{
    return ((i * 37) & 0xFF) << 16 | ((i * 91 + 7) & 0xFF) << 8 | ((255 - i * 13) & 0xFF);
}

void putBE32(Bytes& b, uint32_t v)
{
    for (int s = 24; s >= 0; s -= 8)
        b.push_back(uint8_t(v >> s));
}

void chunk(Bytes& png, const char* type, const Bytes& data)
{
    putBE32(png, uint32_t(data.size()));
    const size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    putBE32(png, uint32_t(crc32(0, png.data() + start, uInt(png.size() - start))));
}

// The rows of one image (the whole picture, or an Adam7 pass), filter 0.
void appendRows(Bytes& raw, const PngKind& k, int x0, int y0, int dx, int dy)
{
    const int n = channels(k.colorType);
    for (int y = y0; y < kH; y += dy) {
        if (x0 >= kW)
            return;
        raw.push_back(0);
        uint32_t bits = 0;
        int used = 0;
        for (int x = x0; x < kW; x += dx)
            for (int c = 0; c < n; ++c) {
                const uint32_t v = sample(k, x, y, c);
                if (k.depth == 16) {
                    raw.push_back(uint8_t(v >> 8));
                    raw.push_back(uint8_t(v));
                    continue;
                }
                bits = (bits << k.depth) | v;
                used += k.depth;
                if (used == 8) {
                    raw.push_back(uint8_t(bits));
                    bits = 0;
                    used = 0;
                }
            }
        if (used != 0)
            raw.push_back(uint8_t(bits << (8 - used)));
    }
}

Bytes pngFile(const PngKind& k)
{
    Bytes png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes ihdr;
    putBE32(ihdr, kW);
    putBE32(ihdr, kH);
    ihdr.insert(ihdr.end(), {k.depth, k.colorType, 0, 0, uint8_t(k.interlaced ? 1 : 0)});
    chunk(png, "IHDR", ihdr);
    if (k.colorType == 3) {
        Bytes plte;
        for (uint32_t i = 0; i < paletteSize(k); ++i)
            plte.insert(plte.end(),
                        {uint8_t(paletteRgb(i) >> 16), uint8_t(paletteRgb(i) >> 8), uint8_t(paletteRgb(i))});
        chunk(png, "PLTE", plte);
    }
    if (k.key) {
        Bytes trns;
        if (k.colorType == 3)
            for (uint32_t i = 0; i < paletteAlphas(k); ++i)
                trns.push_back(uint8_t(i * 60));
        else
            for (int c = 0; c < channels(k.colorType); ++c) {
                trns.push_back(uint8_t(sample(k, 0, 0, c) >> 8));
                trns.push_back(uint8_t(sample(k, 0, 0, c)));
            }
        chunk(png, "tRNS", trns);
    }
    Bytes raw;
    if (!k.interlaced) {
        appendRows(raw, k, 0, 0, 1, 1);
    } else {
        static constexpr int kPasses[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                              {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
        for (const auto& p : kPasses)
            appendRows(raw, k, p[0], p[1], p[2], p[3]);
    }
    uLongf size = compressBound(uLong(raw.size()));
    Bytes idat(size);
    EXPECT_EQ(compress(idat.data(), &size, raw.data(), uLong(raw.size())), Z_OK);
    idat.resize(size);
    chunk(png, "IDAT", idat);
    chunk(png, "IEND", {});
    return png;
}

// What the pixel must decode to, as 0xAARRGGBB.
uint32_t expectedArgb(const PngKind& k, int x, int y)
{
    if (k.colorType == 3) {
        const uint32_t i = sample(k, x, y, 0);
        const uint32_t alpha = k.key && i < paletteAlphas(k) ? i * 60 : 255;
        return alpha << 24 | paletteRgb(i);
    }
    const uint32_t max = (1u << k.depth) - 1;
    const auto eight = [&](int c) { return k.depth == 16 ? sample(k, x, y, c) >> 8 : sample(k, x, y, c) * 255 / max; };
    const int n = channels(k.colorType);
    const bool grey = n <= 2;
    const uint32_t r = eight(0), g = grey ? r : eight(1), b = grey ? r : eight(2);
    uint32_t alpha = n == 2 ? eight(1) : n == 4 ? eight(3) : 255;
    if (k.key) {
        bool keyed = true;
        for (int c = 0; c < n; ++c)
            keyed = keyed && sample(k, x, y, c) == sample(k, 0, 0, c);
        if (keyed)
            alpha = 0;
    }
    return alpha << 24 | r << 16 | g << 8 | b;
}

std::vector<PngKind> allKinds()
{
    static constexpr uint8_t kDepths[][6] = {{0, 1, 2, 4, 8, 16}, {2, 8, 16}, {3, 1, 2, 4, 8}, {4, 8, 16}, {6, 8, 16}};
    static constexpr int kCount[] = {6, 3, 5, 3, 3};
    std::vector<PngKind> kinds;
    for (int t = 0; t < 5; ++t)
        for (int d = 1; d < kCount[t]; ++d)
            for (bool interlaced : {false, true})
                for (bool key : {false, true})
                    if (!key || kDepths[t][0] < 4)
                        kinds.push_back({kDepths[t][0], kDepths[t][d], key, interlaced});
    return kinds;
}

std::string kindName(const PngKind& k)
{
    static const char* const kTypes[] = {"Grey", "", "Rgb", "Palette", "GreyAlpha", "", "Rgba"};
    return std::string(kTypes[k.colorType]) + std::to_string(k.depth) + (k.key ? "Trns" : "") +
           (k.interlaced ? "Interlaced" : "");
}

// Colour compared where alpha is not 0; alpha 0 must be in the AND mask.
void expectDevice(const IconDevice& d, const PngKind& k)
{
    ASSERT_EQ(d.width, kW);
    ASSERT_EQ(d.height, kH);
    ASSERT_EQ(d.bitCount, 32);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const uint32_t want = expectedArgb(k, x, y);
            const int row = kH - 1 - y;
            EXPECT_EQ(maskedAt(d, x, row), (want >> 24) == 0) << x << "," << y;
            if ((want >> 24) != 0) {
                EXPECT_EQ(pixelAt(d, x, row), want) << std::hex << x << "," << y;
            }
        }
}

class PngKindTest : public testing::TestWithParam<PngKind> {};

TEST_P(PngKindTest, DecodesAsPictureAndInsideIcon)
{
    const Bytes png = pngFile(GetParam());
    IconDevice picture;
    ASSERT_TRUE(loadPngPictureBytes(picture, png, kPictureMaxSide, kPictureMaxSide));
    expectDevice(picture, GetParam());
    IconEntry icon;
    ASSERT_TRUE(readIconBytes(icoFile({png}), icon));
    ASSERT_EQ(icon.deviceCount(), 1);
    expectDevice(icon.devices[0], GetParam());
}

INSTANTIATE_TEST_SUITE_P(Kinds, PngKindTest, testing::ValuesIn(allKinds()),
                         [](const auto& info) { return kindName(info.param); });

// A chunk's checksum byte flipped; offset 33 is the IHDR chunk's end.
Bytes withBadCrc(Bytes png, const char* type)
{
    size_t at = 8;
    while (at + 8 <= png.size() && std::memcmp(png.data() + at + 4, type, 4) != 0)
        at += 12 + ((size_t(png[at]) << 24) | (size_t(png[at + 1]) << 16) | (size_t(png[at + 2]) << 8) | png[at + 3]);
    const size_t length = (size_t(png[at + 2]) << 8) | png[at + 3];
    png[at + 8 + length] ^= 0x01;
    return png;
}

Bytes withTextChunk(const Bytes& png)
{
    Bytes out(png.begin(), png.begin() + 33);
    chunk(out, "tEXt", Bytes{'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'h', 'i'});
    out.insert(out.end(), png.begin() + 33, png.end());
    return out;
}

Bytes hugeHeader()
{
    Bytes png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes ihdr;
    putBE32(ihdr, 60000);
    putBE32(ihdr, 60000);
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
    chunk(png, "IHDR", ihdr);
    chunk(png, "IDAT", Bytes{0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01});
    chunk(png, "IEND", {});
    return png;
}

// Damage in critical chunks is refused, in ancillary ones passed over, and
// the decoder never writes to stderr.
TEST(PngDamage, CriticalRefusedAncillaryPassedOverNothingOnStderr)
{
    const PngKind rgba{6, 8, false, false};
    const Bytes good = pngFile(rgba);
    const Bytes cut(good.begin(), good.end() - 20);
    const struct {
        const char* name;
        Bytes png;
        bool accepted;
    } cases[] = {
        {"bad IDAT checksum", withBadCrc(good, "IDAT"), false},
        {"bad IHDR checksum", withBadCrc(good, "IHDR"), false},
        {"bad tEXt checksum", withBadCrc(withTextChunk(good), "tEXt"), true},
        {"image data cut short", cut, false},
        {"no IEND", Bytes(good.begin(), good.end() - 12), true},
        {"60000 x 60000 header", hugeHeader(), false},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        IconDevice picture;
        const bool loaded = loadPngPictureBytes(picture, c.png, kPictureMaxSide, kPictureMaxSide);
        RgbaImage pixels;
        const bool decoded = decodePng(c.png, pixels);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << c.name;
        EXPECT_EQ(loaded, c.accepted) << c.name;
        EXPECT_EQ(decoded, c.accepted) << c.name;
        if (c.accepted) {
            expectDevice(picture, rgba);
        } else {
            EXPECT_TRUE(pixels.bytes.empty()) << c.name;
        }
    }
}

// Decoded pixels encoded again and decoded give the same pixels, alpha kept
// straight even where it is 0.
TEST(PngEncode, RoundTripsStraightAlpha)
{
    RgbaImage source;
    ASSERT_TRUE(decodePng(pngFile({6, 8, false, false}), source));
    source.bytes[3] = 0;  // a transparent pixel keeps its colour
    const std::vector<uint8_t> file =
        encodePng(source.bytes.data(), uint32_t(source.width), uint32_t(source.height), size_t(source.stride));
    RgbaImage again;
    ASSERT_TRUE(decodePng(file, again));
    EXPECT_EQ(again.width, source.width);
    EXPECT_EQ(again.height, source.height);
    EXPECT_EQ(again.bytes, source.bytes);
    EXPECT_EQ(file[25], 6);  // colour type: RGBA
}

}  // namespace
