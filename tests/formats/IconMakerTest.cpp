// Making icons: which input serves which size, the .ico storage rule, the
// .icns element layout and its run-length encoding, and round trips of
// both files through the program's own readers.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "formats/IcnsFile.h"
#include "formats/IconFile.h"
#include "formats/IconMaker.h"
#include "imaging/MacIconImport.h"
#include "imaging/PngCodec.h"
#include "platform/ByteStream.h"

using namespace sigil;

namespace {

// ---- Size choice ---------------------------------------------------------------

constexpr SourceShape kSvg{0, 0, true};
constexpr SourceShape square(int side)
{
    return {side, side, false};
}
constexpr SizeSource exact(int i)
{
    return {i, SizeWay::Exact};
}
constexpr SizeSource shrink(int i)
{
    return {i, SizeWay::Shrink};
}
constexpr SizeSource render(int i)
{
    return {i, SizeWay::Render};
}
constexpr SizeSource kMissing{-1, SizeWay::Missing};

struct ChoiceCase {
    const char* name;
    std::vector<SourceShape> inputs;
    std::vector<int> sizes;
    std::vector<SizeSource> want;
};

class SizeChoice : public testing::TestWithParam<ChoiceCase> {};

TEST_P(SizeChoice, EachSizeComesFromTheRightInput)
{
    const ChoiceCase& c = GetParam();
    EXPECT_EQ(chooseSources(c.inputs, c.sizes), c.want);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SizeChoice,
    testing::Values(
        ChoiceCase{"HandDrawnBesideLarge", {square(1024), square(16)}, {16, 32}, {exact(1), shrink(0)}},
        ChoiceCase{"SmallestAtLeastTheSize",
                   {square(1024), square(256), square(48)},
                   {32, 48, 64, 256, 512},
                   {shrink(2), exact(2), shrink(1), exact(1), shrink(0)}},
        ChoiceCase{"SvgRendersWhatNoExactInputServes",
                   {kSvg, square(16), square(2048)},
                   {16, 32, 1024},
                   {exact(1), render(0), render(0)}},
        ChoiceCase{"NeverEnlarged", {square(32)}, {16, 64}, {shrink(0), kMissing}},
        ChoiceCase{"NonSquareByItsLongerSide", {{300, 100, false}}, {100, 256, 512}, {shrink(0), shrink(0), kMissing}},
        ChoiceCase{"FirstOfEquals", {square(64), square(64)}, {32, 64}, {shrink(0), exact(0)}},
        ChoiceCase{"NoInputs", {}, {16}, {kMissing}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Pictures ------------------------------------------------------------------

RgbaImage picture(int side, uint32_t seed)
{
    RgbaImage image{side, side, int64_t{side} * 4, std::vector<uint8_t>(size_t(side) * size_t(side) * 4)};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            uint8_t* p = &image.bytes[(size_t(y) * size_t(side) + size_t(x)) * 4];
            seed = seed * 1664525u + 1013904223u;
            p[0] = uint8_t(x * 7);
            p[1] = uint8_t(y * 5);
            p[2] = uint8_t(seed >> 24);
            // Some transparent pixels (black, as the resampler gives them),
            // some partly, the rest opaque.
            p[3] = x < side / 4 ? 0 : x < side / 2 ? 128 : 255;
            if (p[3] == 0)
                p[0] = p[1] = p[2] = 0;
        }
    return image;
}

std::vector<MadeImage> madeImages(const std::vector<int>& sizes)
{
    std::vector<MadeImage> images;
    for (const int size : sizes)
        images.push_back({size, picture(size, uint32_t(size)), {}});
    return images;
}

// A 32-bit device's pixels, or a PNG image's, as straight RGBA.
RgbaImage pixelsOf(const IconDevice& device)
{
    RgbaImage out;
    if (device.keepsPng()) {
        decodePng(device.pngData(), out);
        return out;
    }
    if (device.bitCount != 32)
        return out;
    const int w = device.width, h = device.height;
    out = {w, h, int64_t{w} * 4, std::vector<uint8_t>(size_t(w) * size_t(h) * 4)};
    const uint8_t* bits = device.blockData() + kHeaderBytes;
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = bits + (h - 1 - y) * device.rowStride();
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &out.bytes[(size_t(y) * size_t(w) + size_t(x)) * 4];
            p[0] = row[4 * x + 2], p[1] = row[4 * x + 1], p[2] = row[4 * x], p[3] = row[4 * x + 3];
        }
    }
    return out;
}

// ---- .ico ----------------------------------------------------------------------

struct StorageCase {
    int size;
    bool pngAll;
    bool png;
};

class IcoStorage : public testing::TestWithParam<StorageCase> {};

TEST_P(IcoStorage, PngFor256AndBitmapsWithMasksBelow)
{
    const StorageCase& c = GetParam();
    EXPECT_EQ(icoStoresPng(c.size, c.pngAll), c.png);
    IconEntry entry;
    ASSERT_TRUE(iconEntryOfImages(madeImages({c.size}), c.pngAll, entry));
    ASSERT_EQ(entry.devices.size(), 1u);
    const IconDevice& d = entry.devices[0];
    EXPECT_EQ(d.keepsPng(), c.png);
    EXPECT_EQ(d.width, c.size);
    EXPECT_EQ(d.bitCount, 32);
    if (!c.png) {
        // The AND mask is set exactly where alpha is 0 (the left quarter).
        const uint8_t* mask = d.blockData() + kHeaderBytes + d.colorBitsBytes();
        for (int x = 0; x < c.size; ++x)
            EXPECT_EQ((mask[x >> 3] >> (7 - (x & 7))) & 1, x < c.size / 4 ? 1 : 0) << x;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, IcoStorage,
                         testing::Values(StorageCase{16, false, false}, StorageCase{48, false, false},
                                         StorageCase{255, false, false}, StorageCase{256, false, true},
                                         StorageCase{16, true, true}, StorageCase{256, true, true}));

TEST(IcoMade, ReadsBackPixelForPixel)
{
    const std::vector<MadeImage> images = madeImages(defaultMadeSizes(MadeFormat::Ico));
    const std::vector<uint8_t> file = encodeMadeIcon(MadeFormat::Ico, images, false);
    IconEntry read;
    ASSERT_TRUE(readIconBytes(file, read));
    ASSERT_EQ(read.devices.size(), images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        SCOPED_TRACE(images[i].size);
        EXPECT_EQ(read.devices[i].width, images[i].size);
        EXPECT_EQ(read.devices[i].keepsPng(), images[i].size == 256);
        EXPECT_EQ(pixelsOf(read.devices[i]).bytes, images[i].pixels.bytes);
    }
}

// ---- .icns ---------------------------------------------------------------------

struct Element {
    std::string type;
    uint32_t length;
    ByteView data;
};

uint32_t be32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// The file's elements, checked to tile it exactly.
std::vector<Element> elementsOf(ByteView file)
{
    std::vector<Element> out;
    EXPECT_GE(file.size(), 8u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "icns");
    EXPECT_EQ(be32(file.data() + 4), file.size());
    size_t at = 8;
    while (at + 8 <= file.size()) {
        const uint32_t length = be32(file.data() + at + 4);
        EXPECT_GE(length, 8u);
        EXPECT_LE(length, file.size() - at);
        if (length < 8 || length > file.size() - at)
            break;
        out.push_back({std::string(file.begin() + long(at), file.begin() + long(at) + 4), length,
                       file.subspan(at + 8, length - 8)});
        at += length;
    }
    EXPECT_EQ(at, file.size());
    return out;
}

struct LayoutCase {
    const char* name;
    std::vector<int> sizes;
    std::vector<std::string> types;  // after the table of contents
};

class IcnsLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(IcnsLayout, ElementsTheirLengthsAndTheTableOfContents)
{
    const LayoutCase& c = GetParam();
    const std::vector<MadeImage> images = madeImages(c.sizes);
    const std::vector<uint8_t> file = encodeMadeIcon(MadeFormat::Icns, images, false);
    const std::vector<Element> elements = elementsOf(file);
    ASSERT_EQ(elements.size(), c.types.size() + 1);
    // The table of contents lists every other element, type and length.
    ASSERT_EQ(elements[0].type, "TOC ");
    ASSERT_EQ(elements[0].length, 8 + 8 * c.types.size());
    std::map<int, ByteView> pngOfSize;
    for (size_t i = 0; i < c.types.size(); ++i) {
        const Element& e = elements[i + 1];
        SCOPED_TRACE(e.type);
        EXPECT_EQ(e.type, c.types[i]);
        EXPECT_EQ(std::string(elements[0].data.begin() + long(8 * i), elements[0].data.begin() + long(8 * i) + 4),
                  e.type);
        EXPECT_EQ(be32(elements[0].data.data() + 8 * i + 4), e.length);
        const auto kind =
            std::ranges::find_if(icnsElementKinds(), [&](const IcnsElementKind& k) { return k.type == e.type; });
        ASSERT_NE(kind, icnsElementKinds().end());
        const size_t pixels = size_t(kind->side) * size_t(kind->side);
        if (kind->form == IcnsForm::Mask8) {
            EXPECT_EQ(e.length, 8 + pixels);
        } else if (kind->form == IcnsForm::Png) {
            RgbaImage decoded;
            ASSERT_TRUE(decodePng(e.data, decoded));
            EXPECT_EQ(decoded.width, kind->side);
            // The @2x element of a size shares the PNG of the plain one.
            if (pngOfSize.contains(kind->side)) {
                EXPECT_TRUE(std::ranges::equal(pngOfSize[kind->side], e.data));
            }
            pngOfSize[kind->side] = e.data;
        } else {
            EXPECT_LT(e.length, 8 + 4 + 3 * pixels + 3 * pixels / 128 + 3);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, IcnsLayout,
    testing::Values(LayoutCase{"Only16", {16}, {"is32", "s8mk", "icp4"}},
                    LayoutCase{"Only32", {32}, {"il32", "l8mk", "icp5", "ic11"}},
                    LayoutCase{"Only48", {48}, {"ih32", "h8mk"}},
                    LayoutCase{"Only128", {128}, {"it32", "t8mk", "ic07"}}, LayoutCase{"Only1024", {1024}, {"ic10"}},
                    LayoutCase{"Defaults",
                               {16, 32, 64, 128, 256, 512, 1024},
                               {"is32", "s8mk", "icp4", "il32", "l8mk", "icp5", "ic11", "icp6", "ic12", "it32", "t8mk",
                                "ic07", "ic08", "ic13", "ic09", "ic14", "ic10"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IcnsLayout, RefusesWhatTheFormatCannotHold)
{
    for (const std::vector<int>& sizes : {std::vector<int>{20}, {2048}, {16, 16}, {}}) {
        const std::vector<MadeImage> images = madeImages(sizes);
        EXPECT_TRUE(encodeMadeIcon(MadeFormat::Icns, images, false).empty()) << sizes.size();
    }
}

// The run-length decoding of the program's Mac icon reader, written out.
std::vector<uint8_t> unpacked(ByteView packed)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i < packed.size();) {
        const uint8_t c = packed[i++];
        if (c < 128) {
            out.insert(out.end(), packed.begin() + long(i), packed.begin() + long(i) + c + 1);
            i += size_t(c) + 1;
        } else {
            out.insert(out.end(), size_t(c) - 125, packed[i++]);
        }
    }
    return out;
}

struct RunCase {
    const char* name;
    std::vector<uint8_t> values;
    size_t packedBytes;
};

class IcnsRunLength : public testing::TestWithParam<RunCase> {};

TEST_P(IcnsRunLength, UnpacksToTheValues)
{
    const RunCase& c = GetParam();
    std::vector<uint8_t> packed;
    appendIcnsRunLength(packed, c.values.data(), c.values.size(), 1);
    EXPECT_EQ(unpacked(packed), c.values);
    EXPECT_EQ(packed.size(), c.packedBytes);
}

std::vector<uint8_t> counting(size_t n)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = uint8_t(i);
    return v;
}

INSTANTIATE_TEST_SUITE_P(Table, IcnsRunLength,
                         testing::Values(RunCase{"OneValue", {7}, 2}, RunCase{"RepeatOfThree", {7, 7, 7}, 2},
                                         RunCase{"PairsStayLiteral", {1, 1, 2, 2, 3}, 6},
                                         RunCase{"LongestRepeatIs130", std::vector<uint8_t>(300, 9), 6},
                                         RunCase{"LongestLiteralIs128", counting(200), 202},
                                         RunCase{"LiteralThenRepeat", {1, 2, 5, 5, 5, 5}, 5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IcnsMade, ReadsBackPixelForPixelThroughTheMacReader)
{
    const std::vector<int> sizes{16, 32, 48, 64, 128, 256, 512, 1024};
    const std::vector<MadeImage> images = madeImages(sizes);
    const std::vector<uint8_t> file = encodeMadeIcon(MadeFormat::Icns, images, false);
    IconEntry read;
    ASSERT_TRUE(loadMacIconBytes(read, file, "a.icns", "a", DisplaySettings{}));
    // Every size once: the classic element and the PNG element of a size
    // give the same image, which the reader keeps once.
    for (const MadeImage& image : images) {
        SCOPED_TRACE(image.size);
        int found = 0;
        for (const IconDevice& d : read.devices) {
            if (d.width != image.size)
                continue;
            ++found;
            EXPECT_EQ(d.bitCount, 32);
            EXPECT_EQ(pixelsOf(d).bytes, image.pixels.bytes);
        }
        EXPECT_EQ(found, 1);
    }
}

}  // namespace
