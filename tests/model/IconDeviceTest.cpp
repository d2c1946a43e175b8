#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "imaging/DevicePixels.h"
#include "model/IconDevice.h"
#include "model/Palettes.h"
#include "support/IconBytes.h"

using namespace sigil;
using sigil::test::Header;
using sigil::test::headerBytes;

namespace {

struct SizeCase {
    const char* name;
    int w, h, bits;
    int64_t table, stride, colorBits, mask, block;
};

class SizeRules : public testing::TestWithParam<SizeCase> {};

TEST_P(SizeRules, FollowTheSizeTable)
{
    const SizeCase& c = GetParam();
    const IconDevice d = IconDevice::shape(c.w, c.h, c.bits);
    EXPECT_EQ(IconDevice::colorTableBytes(c.bits), c.table);
    EXPECT_EQ(d.rowStride(), c.stride);
    EXPECT_EQ(d.colorBitsBytes(), c.colorBits);
    EXPECT_EQ(d.maskBytes(), c.mask);
    EXPECT_EQ(d.blockBytes(), c.block);
}

INSTANTIATE_TEST_SUITE_P(Devices, SizeRules,
                         testing::Values(SizeCase{"w32_4bit", 32, 32, 4, 64, 16, 512, 128, 744},
                                         SizeCase{"w16_24bit", 16, 16, 24, 0, 48, 768, 64, 872},
                                         SizeCase{"w16_1bit", 16, 16, 1, 8, 4, 64, 64, 176},
                                         SizeCase{"w33_1bit", 33, 1, 1, 8, 8, 8, 8, 64},
                                         SizeCase{"w3_4bit", 3, 2, 4, 64, 4, 8, 8, 120},
                                         SizeCase{"w48_8bit", 48, 48, 8, 1024, 48, 2304, 384, 3752},
                                         SizeCase{"w256_32bit", 256, 256, 32, 0, 1024, 262144, 8192, 270376},
                                         SizeCase{"w5_16bit", 5, 1, 16, 0, 12, 12, 4, 56},
                                         SizeCase{"unknown_depth", 16, 16, 2, 16, 0, 0, 64, 120}),
                         [](const auto& info) { return info.param.name; });

TEST(SizeRules, Width33At1BitHasEightByteRowsForBitsAndMask)
{
    const IconDevice d = IconDevice::shape(33, 4, 1);
    EXPECT_EQ(d.rowStride(), 8);
    EXPECT_EQ(d.maskStride(), 8);
}

TEST(SizeRules, ImageSizeAboveZeroIsTheColourBitsSize)
{
    IconDevice d = IconDevice::shape(32, 32, 8);
    d.compression = 1;
    d.imageSize = 300;
    EXPECT_EQ(d.colorBitsBytes(), 300);
    EXPECT_EQ(d.blockBytes(), 40 + 1024 + 300 + 128);
}

TEST(SizeRules, BitFieldsAddTwelveBytes)
{
    IconDevice d = IconDevice::shape(16, 16, 16);
    d.compression = 3;
    EXPECT_EQ(d.blockBytes(), 40 + 12 + 512 + 64);
}

TEST(SetFromHeader, HalvesTheStoredHeightAndKeepsTheHeader)
{
    Header h;
    h.width = 32;
    h.height = 64;
    h.bitCount = 4;
    const auto bytes = headerBytes(h);
    IconDevice d;
    ASSERT_EQ(d.setFromHeader(bytes, true), 40);
    EXPECT_EQ(d.width, 32);
    EXPECT_EQ(d.height, 32);
    EXPECT_EQ(d.allocatedBytes(), 744);
    EXPECT_EQ(getI32(d.blockData() + 8), 64);
    EXPECT_EQ(getU32(d.blockData() + 32), 16u);         // colours used
    EXPECT_EQ(getU32(d.blockData() + 20), 512u + 128);  // image size
}

TEST(SetFromHeader, WithoutHalvingDoublesTheBlocksHeight)
{
    Header h;
    h.width = 32;
    h.height = 32;
    h.bitCount = 24;
    IconDevice d;
    ASSERT_EQ(d.setFromHeader(headerBytes(h), false), 40);
    EXPECT_EQ(d.height, 32);
    EXPECT_EQ(getI32(d.blockData() + 8), 64);
    EXPECT_EQ(getU32(d.blockData() + 32), 0u);
}

TEST(SetFromHeader, KeepsImageSizeOnlyForRunLengthImages)
{
    Header h;
    h.width = 16;
    h.height = 32;
    h.bitCount = 8;
    h.imageSize = 99;
    IconDevice plain;
    ASSERT_EQ(plain.setFromHeader(headerBytes(h), true), 40);
    EXPECT_EQ(plain.imageSize, 0);
    h.compression = 1;
    IconDevice rle;
    ASSERT_EQ(rle.setFromHeader(headerBytes(h), true), 40);
    EXPECT_EQ(rle.imageSize, 99);
    EXPECT_EQ(rle.colorBitsBytes(), 99);
}

struct RefusedHeader {
    const char* name;
    Header header;
};

class SetFromHeaderRefuses : public testing::TestWithParam<RefusedHeader> {};

TEST_P(SetFromHeaderRefuses, AndLeavesTheDeviceEmpty)
{
    IconDevice d;
    EXPECT_EQ(d.setFromHeader(headerBytes(GetParam().header), true), -1);
    EXPECT_FALSE(d.hasBlock());
    EXPECT_EQ(d.width, 0);
}

Header hdr(uint32_t size, int32_t w, int32_t h, uint16_t bits, uint32_t compression = 0, uint32_t imageSize = 0)
{
    Header x;
    x.size = size;
    x.width = w;
    x.height = h;
    x.bitCount = bits;
    x.compression = compression;
    x.imageSize = imageSize;
    return x;
}

INSTANTIATE_TEST_SUITE_P(Headers, SetFromHeaderRefuses,
                         testing::Values(RefusedHeader{"core_header_12", hdr(12, 32, 64, 4)},
                                         RefusedHeader{"v5_header_108", hdr(108, 32, 64, 4)},
                                         RefusedHeader{"rle4", hdr(40, 32, 64, 4, 2, 100)},
                                         RefusedHeader{"jpeg_compression", hdr(40, 32, 64, 24, 4)},
                                         RefusedHeader{"bit_count_2", hdr(40, 32, 64, 2)},
                                         RefusedHeader{"bit_count_0", hdr(40, 32, 64, 0)},
                                         RefusedHeader{"zero_width", hdr(40, 0, 64, 8)},
                                         RefusedHeader{"negative_width", hdr(40, -5, 64, 8)},
                                         RefusedHeader{"height_halves_to_zero", hdr(40, 32, 1, 8)},
                                         RefusedHeader{"top_down", hdr(40, 32, -64, 8)},
                                         RefusedHeader{"width_above_65535", hdr(40, 65536, 64, 1)},
                                         RefusedHeader{"block_above_256MiB", hdr(40, 65535, 2 * 65535, 32)},
                                         RefusedHeader{"rle_size_above_256MiB", hdr(40, 16, 32, 8, 1, 0xFFFFFFF0u)}),
                         [](const auto& info) { return info.param.name; });

TEST(SetFromHeader, RefusesAShortHeader)
{
    auto bytes = headerBytes(hdr(40, 16, 32, 8));
    bytes.resize(39);
    IconDevice d;
    EXPECT_EQ(d.setFromHeader(bytes, true), -1);
}

TEST(WriteIconHeader, DescribesTheDevice)
{
    IconDevice d = IconDevice::shape(48, 48, 8);
    uint8_t h[40];
    std::fill(std::begin(h), std::end(h), 0xAB);
    d.writeIconHeader(h);
    EXPECT_EQ(getU32(h), 40u);
    EXPECT_EQ(getI32(h + 4), 48);
    EXPECT_EQ(getI32(h + 8), 96);
    EXPECT_EQ(getU16(h + 12), 1);
    EXPECT_EQ(getU16(h + 14), 8);
    EXPECT_EQ(getU32(h + 16), 0u);
    EXPECT_EQ(getU32(h + 20), 2304u + 384);
    EXPECT_EQ(getU32(h + 24), 0u);
    EXPECT_EQ(getU32(h + 32), 256u);
    EXPECT_EQ(getU32(h + 36), 0u);
}

struct BlankCase {
    int bits;
    uint8_t pixelByte;
};

class BlankDevice : public testing::TestWithParam<BlankCase> {};

TEST_P(BlankDevice, IsBlackAndWhollyTransparent)
{
    const BlankCase c = GetParam();
    IconDevice d;
    ASSERT_TRUE(d.makeBlank(24, 16, c.bits));
    ASSERT_EQ(d.allocatedBytes(), d.blockBytes());
    const uint8_t* p = d.blockData() + 40 + IconDevice::colorTableBytes(c.bits);
    for (int64_t i = 0; i < d.colorBitsBytes(); ++i)
        ASSERT_EQ(p[i], c.pixelByte) << i;
    for (int64_t i = 0; i < d.maskBytes(); ++i)
        ASSERT_EQ(p[d.colorBitsBytes() + i], 0xFF) << i;
    const RgbaImage shown = displayPixels(d, DisplayMode::Image, 0, false);
    ASSERT_FALSE(shown.empty());
    const uint8_t* px = shown.row(5) + 4 * 5;
    EXPECT_EQ(px[0] | px[1] | px[2], 0);  // black
}

INSTANTIATE_TEST_SUITE_P(Depths, BlankDevice,
                         testing::Values(BlankCase{1, 0x00}, BlankCase{4, 0xFF}, BlankCase{8, 0xFF},
                                         BlankCase{16, 0x00}, BlankCase{24, 0x00}, BlankCase{32, 0x00}));

TEST(BlankDevice, CarriesTheStandardPalettes)
{
    IconDevice d1, d4, d8;
    ASSERT_TRUE(d1.makeBlank(16, 16, 1));
    ASSERT_TRUE(d4.makeBlank(16, 16, 4));
    ASSERT_TRUE(d8.makeBlank(16, 16, 8));
    auto entry = [](const IconDevice& d, int i) { return d.blockData() + 40 + 4 * i; };
    auto rgb = [&](const IconDevice& d, int i) {
        const uint8_t* e = entry(d, i);
        return uint32_t(e[2]) << 16 | uint32_t(e[1]) << 8 | e[0];
    };
    EXPECT_EQ(rgb(d1, 0), 0x000000u);
    EXPECT_EQ(rgb(d1, 1), 0xFFFFFFu);
    EXPECT_EQ(rgb(d4, 2), 0xFF6600u);
    EXPECT_EQ(rgb(d4, 5), 0x6633CCu);
    EXPECT_EQ(rgb(d4, 15), 0x000000u);
    // Values off the even levels are kept exactly.
    EXPECT_EQ(rgb(d8, 1), 0xFFFECBu);
    EXPECT_EQ(rgb(d8, 89), 0x989700u);
    EXPECT_EQ(rgb(d8, 178), 0x320031u);
    EXPECT_EQ(rgb(d8, 214), 0x000032u);
    EXPECT_EQ(rgb(d8, 215), 0xEE0000u);
    EXPECT_EQ(rgb(d8, 245), 0xEEEEEEu);
    EXPECT_EQ(rgb(d8, 255), 0x000000u);
    EXPECT_EQ(entry(d8, 7)[3], 0);
}

TEST(ColourClasses, LabelByBitCount)
{
    EXPECT_EQ(colorClassLabel(1), "ﾓﾉｸﾛ");
    EXPECT_EQ(colorClassLabel(4), "16色");
    EXPECT_EQ(colorClassLabel(8), "256色");
    EXPECT_EQ(colorClassLabel(16), "HighColor");
    EXPECT_EQ(colorClassLabel(24), "TrueColor");
    EXPECT_EQ(colorClassLabel(32), "XP");
    EXPECT_EQ(colorClassLabel(2), "不明");
}

TEST(DeviceEquality, EveryHeaderByteCounts)
{
    IconDevice a, b;
    ASSERT_TRUE(a.makeBlank(16, 16, 4));
    ASSERT_TRUE(b.makeBlank(16, 16, 4));
    EXPECT_TRUE(a.sameDevice(b));
    putU32(b.blockData() + 24, 2835);  // horizontal resolution
    EXPECT_FALSE(a.sameDevice(b));
    IconDevice c;
    ASSERT_TRUE(c.makeBlank(16, 16, 8));
    EXPECT_FALSE(a.sameDevice(c));
}

TEST(DeviceCopy, IsIndependent)
{
    IconDevice a;
    ASSERT_TRUE(a.makeBlank(16, 16, 8));
    a.macFlag = 1;
    a.bytesLeft = 7;
    IconDevice b;
    b.copyFrom(a);
    EXPECT_TRUE(a.sameDevice(b));
    EXPECT_EQ(b.macFlag, 1);
    EXPECT_EQ(b.bytesLeft, 7);
    b.blockData()[100] ^= 0xFF;
    EXPECT_FALSE(a.sameDevice(b));
}

}  // namespace

namespace {

// A stand-in decoder for devices kept as PNG data: the first data byte
// becomes every pixel's blue; data starting with 0 does not decode.
std::atomic<int> fakeDecodes{0};
bool fakeDecode(ByteView data, IconDevice& device)
{
    fakeDecodes.fetch_add(1);
    if (data.empty() || data[0] == 0 || !device.makeBlank(4, 2, 32))
        return false;
    uint8_t* px = device.blockData() + kHeaderBytes;
    for (int i = 0; i < 8; ++i)
        px[4 * i] = data[0];
    return true;
}

IconDevice lazyDevice(std::vector<uint8_t> data)
{
    IconDevice d;
    EXPECT_TRUE(d.keepPng(data, 4, 2, &fakeDecode));
    return d;
}

TEST(LazyDevice, DecodesOnceOnFirstReadFromAnyThread)
{
    fakeDecodes = 0;
    const IconDevice d = lazyDevice({7, 1, 2});
    EXPECT_TRUE(d.hasBlock());
    EXPECT_EQ(d.allocatedBytes(), IconDevice::shape(4, 2, 32).blockBytes());
    EXPECT_FALSE(d.pixelsDecoded());
    EXPECT_EQ(fakeDecodes, 0);
    std::vector<std::thread> readers;
    std::vector<const uint8_t*> seen(4);
    for (size_t i = 0; i < seen.size(); ++i)
        readers.emplace_back([&d, &seen, i] { seen[i] = d.blockData(); });
    for (std::thread& t : readers)
        t.join();
    EXPECT_EQ(fakeDecodes, 1);
    EXPECT_TRUE(d.pixelsDecoded());
    for (const uint8_t* p : seen)
        EXPECT_EQ(p, seen[0]);
    EXPECT_EQ(seen[0][kHeaderBytes], 7);
    // Reading keeps the PNG data; writing access makes it a plain bitmap.
    EXPECT_TRUE(d.keepsPng());
    IconDevice edited;
    edited.copyFrom(d);
    EXPECT_TRUE(edited.keepsPng());
    edited.blockData()[kHeaderBytes] = 9;
    EXPECT_FALSE(edited.keepsPng());
    EXPECT_EQ(edited.storedImage().size(), size_t(edited.allocatedBytes()));
    EXPECT_EQ(d.blockData()[kHeaderBytes], 7);
}

TEST(LazyDevice, UndecodableDataGivesATransparentImageAndBadShapesAreRefused)
{
    const IconDevice bad = lazyDevice({0, 1});
    const IconDevice blank = [] {
        IconDevice b;
        b.makeBlank(4, 2, 32);
        return b;
    }();
    EXPECT_TRUE(bad.sameDevice(blank));
    IconDevice d;
    const std::vector<uint8_t> one{1};
    EXPECT_FALSE(d.keepPng(one, 0, 2, &fakeDecode));
    EXPECT_FALSE(d.keepPng(one, 4, kMaxDimension + 1, &fakeDecode));
    EXPECT_FALSE(d.keepPng(one, 60000, 60000, &fakeDecode));
    EXPECT_FALSE(d.hasBlock());
}

TEST(LazyDevice, EqualDataComparesEqualWithoutDecodingAndPixelsDecide)
{
    fakeDecodes = 0;
    const IconDevice a = lazyDevice({5, 1});
    const IconDevice b = lazyDevice({5, 1});
    EXPECT_TRUE(a.sameDevice(b));
    EXPECT_EQ(fakeDecodes, 0);
    // Other data with the same pixels is the same image.
    const IconDevice c = lazyDevice({5, 2});
    EXPECT_TRUE(a.sameDevice(c));
    EXPECT_FALSE(a.sameDevice(lazyDevice({6, 1})));
    IconDevice plain;
    plain.copyFrom(c);
    plain.blockData();  // now a bitmap
    EXPECT_TRUE(plain.sameDevice(a));
    EXPECT_TRUE(a.sameDevice(plain));
}

}  // namespace
