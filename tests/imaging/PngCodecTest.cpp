// PNG decoding of every colour type and depth, against pixels computed here
// from the samples written: through the picture importer and through an
// .ico that keeps the PNG undecoded. Files are written by a small encoder
// below, so each case is a line of the table.
#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "formats/IconFile.h"
#include "imaging/PictureImport.h"
#include "imaging/PngCodec.h"
#include "imaging/PngDefilter.h"
#include "imaging/PngFastDecode.h"
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

// 8-bit RGB and RGBA files as encoders write them: each row with its own
// filter, the data in one or several IDAT chunks.
struct FastKind {
    int width;
    int bpp;  // 3 RGB, 4 RGBA
    bool key;
    int idatChunks;
    int firstFilter;  // row y has filter (firstFilter + y) % 5
};

uint8_t paethOf(int a, int b, int c)
{
    const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
    return uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Pixels with smooth runs, sharp steps and repeats of the colour key
// (the first pixel's colour).
Bytes rawRows(const FastKind& k, int height)
{
    Bytes raw;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < k.width; ++x)
            for (int c = 0; c < k.bpp; ++c)
                raw.push_back((x + y) % 4 == 0 ? uint8_t(0x40 + c)
                                               : uint8_t(x * 37 + y * 11 * (c + 1) + (x > 8) * 200));
    return raw;
}

Bytes filteredPng(const FastKind& k, int height, const std::function<void(Bytes& png)>& beforeData = {})
{
    const Bytes raw = rawRows(k, height);
    const size_t rowBytes = size_t(k.width) * size_t(k.bpp);
    Bytes filtered;
    for (int y = 0; y < height; ++y) {
        const uint8_t filter = uint8_t((k.firstFilter + y) % 5);
        filtered.push_back(filter);
        for (size_t i = 0; i < rowBytes; ++i) {
            const size_t at = size_t(y) * rowBytes + i;
            const int a = i >= size_t(k.bpp) ? raw[at - k.bpp] : 0;
            const int b = y > 0 ? raw[at - rowBytes] : 0;
            const int c = y > 0 && i >= size_t(k.bpp) ? raw[at - rowBytes - k.bpp] : 0;
            const int predictor = filter == 1   ? a
                                  : filter == 2 ? b
                                  : filter == 3 ? (a + b) / 2
                                  : filter == 4 ? paethOf(a, b, c)
                                                : 0;
            filtered.push_back(uint8_t(raw[at] - predictor));
        }
    }
    uLongf size = compressBound(uLong(filtered.size()));
    Bytes zlib(size);
    EXPECT_EQ(compress(zlib.data(), &size, filtered.data(), uLong(filtered.size())), Z_OK);
    zlib.resize(size);
    Bytes png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes ihdr;
    putBE32(ihdr, uint32_t(k.width));
    putBE32(ihdr, uint32_t(height));
    ihdr.insert(ihdr.end(), {8, uint8_t(k.bpp == 4 ? 6 : 2), 0, 0, 0});
    chunk(png, "IHDR", ihdr);
    if (k.key)
        chunk(png, "tRNS", Bytes{0, raw[0], 0, raw[1], 0, raw[2]});
    if (beforeData)
        beforeData(png);
    const size_t part = zlib.size() / size_t(k.idatChunks) + 1;
    for (size_t at = 0; at < zlib.size(); at += part)
        chunk(png, "IDAT", Bytes(zlib.begin() + long(at), zlib.begin() + long(std::min(zlib.size(), at + part))));
    chunk(png, "IEND", {});
    return png;
}

// The general decoder's answer, accepted or refused, with its pixels.
void expectSameAsSpng(const Bytes& png, const std::string& name, const PngLimits& limits = {})
{
    RgbaImage fast, general;
    const bool decoded = decodePng(png, fast, limits);
    EXPECT_EQ(decoded, decodePngThroughSpng(png, general, limits)) << name;
    EXPECT_EQ(fast.width, general.width) << name;
    EXPECT_EQ(fast.height, general.height) << name;
    EXPECT_EQ(fast.bytes, general.bytes) << name;
}

// Every filter at both pixel sizes, odd widths, the colour key, split data:
// the fast path takes the file and gives libspng's pixels.
TEST(PngFastPath, GivesTheGeneralDecodersPixels)
{
    const FastKind kinds[] = {
        {1, 4, false, 1, 0}, {3, 4, false, 3, 1}, {17, 4, false, 2, 2}, {64, 4, false, 5, 3}, {1, 3, false, 1, 4},
        {3, 3, true, 1, 0},  {17, 3, true, 4, 1}, {17, 3, false, 1, 2}, {33, 3, true, 2, 3},  {17, 4, false, 1, 4},
    };
    for (const FastKind& k : kinds) {
        const std::string name = std::to_string(k.width) + " px, " + std::to_string(k.bpp) + " bytes, key " +
                                 std::to_string(k.key) + ", filter " + std::to_string(k.firstFilter);
        const Bytes png = filteredPng(k, 11);
        RgbaImage fast;
        EXPECT_TRUE(decodePngFast(png, fast, 1000, 1 << 20)) << name;
        expectSameAsSpng(png, name);
    }
}

Bytes replaced(Bytes png, size_t at, std::initializer_list<uint8_t> bytes)
{
    std::copy(bytes.begin(), bytes.end(), png.begin() + long(at));
    return png;
}

// A chunk with its checksum made right again after the edit.
Bytes rechecked(Bytes png, size_t chunkAt)
{
    const uint32_t length = getU32Be(png.data() + chunkAt);
    const uint32_t crc = uint32_t(crc32(0, png.data() + chunkAt + 4, uInt(length + 4)));
    for (int i = 0; i < 4; ++i)
        png[chunkAt + 8 + length + size_t(i)] = uint8_t(crc >> (24 - 8 * i));
    return png;
}

// Damaged, unusual or over-limit files get the general decoder's answer:
// the fast path refuses what it refuses and keeps what it keeps.
TEST(PngFastPath, AgreesWithTheGeneralDecoderOnOddFiles)
{
    const FastKind rgb{17, 3, true, 1, 4};
    const Bytes good = filteredPng(rgb, 9);
    const size_t idat = 33 + 18;  // after IHDR and tRNS
    const uint32_t idatLength = getU32Be(good.data() + idat);
    const size_t adler = idat + 8 + idatLength - 4;
    const auto withChunk = [](const FastKind& kind, const char* type, Bytes data) {
        return filteredPng(kind, 9, [&](Bytes& png) { chunk(png, type, data); });
    };
    const FastKind plain{17, 3, false, 1, 4};
    Bytes unfiltered = good;
    {
        // A file whose first row's filter byte is 5, compressed again.
        Bytes rows;
        uLongf size = 1 << 16;
        rows.resize(size);
        ASSERT_EQ(uncompress(rows.data(), &size, good.data() + idat + 8, idatLength), Z_OK);
        rows.resize(size);
        rows[0] = 5;
        uLongf packed = compressBound(uLong(rows.size()));
        Bytes zlib(packed);
        ASSERT_EQ(compress(zlib.data(), &packed, rows.data(), uLong(rows.size())), Z_OK);
        zlib.resize(packed);
        unfiltered.assign(good.begin(), good.begin() + long(idat));
        chunk(unfiltered, "IDAT", zlib);
        chunk(unfiltered, "IEND", {});
    }
    Bytes cutStream(good.begin(), good.begin() + long(idat));
    chunk(cutStream, "IDAT", Bytes(good.begin() + long(idat) + 8, good.begin() + long(adler) - 20));
    chunk(cutStream, "IEND", {});
    const Bytes afterEnd = [&] {
        Bytes png = good;
        png.insert(png.end(), {1, 2, 3});
        return png;
    }();
    const struct {
        const char* name;
        Bytes png;
        PngLimits limits;
    } cases[] = {
        {"good", good, {}},
        {"bad IDAT checksum", withBadCrc(good, "IDAT"), {}},
        {"bad IEND checksum", withBadCrc(good, "IEND"), {}},
        {"bad tRNS checksum", withBadCrc(good, "tRNS"), {}},
        {"zlib stream cut short", cutStream, {}},
        {"wrong adler32", rechecked(replaced(good, adler, {0, 0, 0, 0}), idat), {}},
        {"filter byte 5", unfiltered, {}},
        {"wider than allowed", good, {16, int64_t{1} << 20}},
        {"more bytes than allowed", good, {64, 17 * 9 * 4 - 1}},
        {"no IEND", Bytes(good.begin(), good.end() - 12), {}},
        {"cut inside IEND", Bytes(good.begin(), good.end() - 5), {}},
        {"bytes after IEND", afterEnd, {}},
        {"tRNS of 4 bytes", withChunk(plain, "tRNS", Bytes{0, 1, 0, 2}), {}},
        {"second tRNS", withChunk(rgb, "tRNS", Bytes{0, 1, 0, 2, 0, 3}), {}},
        {"tRNS with an alpha channel", withChunk(FastKind{17, 4, false, 1, 4}, "tRNS", Bytes{0, 1, 0, 2, 0, 3}), {}},
        {"text before the data", withChunk(rgb, "tEXt", Bytes{'T', 'i', 't', 'l', 'e', 0, 'x'}), {}},
        {"unknown ancillary chunk", withChunk(rgb, "caNv", Bytes{1, 2, 3}), {}},
        {"unknown critical chunk", withChunk(rgb, "CANV", Bytes{1, 2, 3}), {}},
    };
    for (const auto& c : cases)
        expectSameAsSpng(c.png, c.name, c.limits);
}

// The vector defilter rebuilds every row as the byte-at-a-time one does.
TEST(PngDefilter, VectorMatchesPortable)
{
    for (int bpp : {3, 4})
        for (size_t pixels : {size_t(1), size_t(5), size_t(33)})
            for (uint8_t filter = 0; filter <= 4; ++filter) {
                const size_t bytes = pixels * size_t(bpp);
                Bytes in(bytes), prev(bytes);
                for (size_t i = 0; i < bytes; ++i) {
                    in[i] = uint8_t(i * 151 + filter * 7 + 3);
                    prev[i] = uint8_t(i * 89 + 250);
                }
                Bytes vector(bytes), portable(bytes);
                defilterRow(filter, bpp, in.data(), prev.data(), vector.data(), bytes);
                defilterRowPortable(filter, bpp, in.data(), prev.data(), portable.data(), bytes);
                EXPECT_EQ(vector, portable) << "bpp " << bpp << " filter " << int(filter) << " pixels " << pixels;
            }
}

}  // namespace
